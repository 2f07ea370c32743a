#pragma once

#include "host/DataSource.h"

#include <string>
#include <string_view>
#include <vector>

namespace host::webapi {

/// What a put with verification checks (or normalises) for a field, as the ERP's view does.
enum class FieldCheck {
  None,
  UpperCode,            ///< a code: upper-cased
  ItemNumber,           ///< an item number: upper-cased, its mask separators removed
  TaxGroup,             ///< must exist for transaction type `type`
  TaxAuthority,         ///< must exist; upper-cased
  TaxClassOfGroup,      ///< a class of authority `slot` of the tax group in field `ref`
  TaxClassOfAuthority,  ///< a class of the authority in field `ref`, class type `type`, `axis`
  TaxIncluded,          ///< true only where the authority in field `ref` allows tax in the price
  Currency,             ///< must exist; upper-cased
};

/// One field of a view with the check its view runs on a put with verification.
struct FieldLayout {
  FieldInfo info;
  FieldCheck check = FieldCheck::None;
  int ref = 0;   ///< the field number the check reads
  int type = 0;  ///< transaction or class type: 1 sales, 2 purchases
  int axis = 0;
  int slot = 0;

  /// Whether the check is one of the tax checks, so the field holds the record's tax data.
  bool TaxField() const;
};

/// A business view as the ERP publishes it: ID, description, fields in number order, keys.
struct ViewLayout {
  std::string id;
  std::string description;
  std::vector<FieldLayout> fields;  ///< fields[i].info.index == i + 1
  std::vector<Key> keys;            ///< key 0 is the primary key

  /// The field with this number, or nullptr.
  const FieldLayout* Field(int number) const;
  /// The field with this name (without regard to case, as the ERP's filters name them), or
  /// nullptr.
  const FieldLayout* Field(std::string_view name) const;
};

/// Reads layouts from their text form: a view line "ID<TAB>description", its key lines
/// "key<TAB>name<TAB>FIELD FIELD..." and its field lines
/// "number<TAB>NAME<TAB>description<TAB>type<TAB>size[<TAB>check[<TAB>name=value]...]". Throws
/// std::invalid_argument naming the line of a fault.
std::vector<ViewLayout> ParseViewLayouts(std::string_view text);

/// The layout of a view the program reads through the Web API, or nullptr.
const ViewLayout* FindViewLayout(std::string_view view);

/// The layouts the program ships, in their text form.
std::string_view ShippedViewLayouts();

}  // namespace host::webapi
