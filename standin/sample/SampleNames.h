#pragma once

#include "standin/sample/SampleStory.h"

#include <array>
#include <cstddef>
#include <string>

namespace erp {

/// Six families of codes, each a short prefix with a matching description.
struct CodeFamily {
  const char* prefix;
  const char* label;
};
using CodeFamilies = std::array<CodeFamily, 6>;

/// `number` in `width` digits, with leading zeros: padded(7, 3) is "007".
std::string padded(size_t number, int width);

/// The code of record `index` among `families`: the family's prefix and a running number of
/// `width` digits, so "MAT001", "SVC001", ..., "MAT002".
std::string familyCode(const CodeFamilies& families, size_t index, int width);
/// The description of record `index` among `families`: the family's label and its number.
std::string familyLabel(const CodeFamilies& families, size_t index, int width);
/// How many records six families can number with `width` digits.
constexpr size_t familyCapacity(int width) {
  size_t limit = 1;
  for (int i = 0; i < width; ++i) limit *= 10;
  return 6 * (limit - 1);
}

/// Customer number of record `index`: "1000", "1010", ... ("1200" is record 20).
std::string customerNumber(size_t index);
/// Vendor number of record `index`: "V1000", "V1010", ...
std::string vendorNumber(size_t index);

/// An inventory item number in both forms: "A1100001" as stored, "A1-1000-01" as shown.
struct ItemNumber {
  std::string unformatted;
  std::string formatted;
};
/// Item number of record `index`.
ItemNumber itemNumber(size_t index);
/// Category code of record `index`: "HARD01", "ELEC01", ...
std::string categoryCode(size_t index);
/// Price list code of record `index`: "RETAIL", "WHSALE", then "CONT01", ...
std::string priceListCode(size_t index);
/// Customer group code of record `index`: "RTL001", "WHS001", ...
std::string customerGroupCode(size_t index);
/// Vendor group code of record `index`: "MAT001", "SVC001", ...
std::string vendorGroupCode(size_t index);

/// The families behind the codes above, for their descriptions.
extern const CodeFamilies kCategoryFamilies;
extern const CodeFamilies kPriceListFamilies;
extern const CodeFamilies kCustomerGroupFamilies;
extern const CodeFamilies kVendorGroupFamilies;

/// A generated business with its address, in the province its tax state implies.
struct Party {
  std::string name;
  std::string shortName;
  std::string street;
  std::string city;
  std::string province;
  std::string postalCode;
  std::string contact;
  std::string phone;
  std::string fax;
  std::string email;
  std::string website;
};
/// The party of record `index`; Elsewhere records lie in Quebec or Alberta, the rest in Ontario.
Party partyOf(size_t index, TaxState state);

/// Which of the untouched groups an Elsewhere record uses: QCGSTQST or GSTONLY.
const char* elsewhereGroup(size_t index);

/// A business number with its GST/HST program account, "812345678RT0001".
std::string businessNumber(size_t index);

}  // namespace erp
