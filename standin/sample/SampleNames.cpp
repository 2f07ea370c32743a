#include "standin/sample/SampleNames.h"

#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace erp {
namespace {

constexpr std::array<std::string_view, 24> kNamePrefixes{
    "Maple Leaf", "Northern", "Lakeshore", "Bayview",   "Highland",    "Pioneer",
    "Summit",     "Harbour",  "Cedar",     "Riverside", "Golden",      "Frontenac",
    "Algonquin",  "Niagara",  "Georgian",  "Huron",     "Kawartha",    "Muskoka",
    "Rideau",     "Superior", "Trillium",  "Erie",      "Grand River", "Thousand Islands"};
constexpr std::array<std::string_view, 16> kTrades{
    "Hardware",   "Foods",        "Electric",    "Supply",          "Logistics", "Printing",
    "Dental",     "Construction", "Auto Parts",  "Office Products", "Furniture", "Pharmacy",
    "Industrial", "Software",     "Landscaping", "Catering"};
constexpr std::array<std::string_view, 4> kSuffixes{"Ltd.", "Inc.", "Co.", "Limited"};
constexpr std::array<std::string_view, 12> kStreets{
    "King Street West", "Queen Street East", "Yonge Street",    "Bay Street",
    "Dundas Street",    "Bloor Street",      "Main Street",     "Wellington Street",
    "Princess Street",  "Richmond Road",     "Victoria Avenue", "Church Street"};
constexpr std::array<std::string_view, 16> kFirstNames{
    "Alex",  "Jordan", "Sam",   "Taylor", "Morgan", "Chris",  "Pat",   "Jamie",
    "Robin", "Casey",  "Avery", "Riley",  "Dana",   "Leslie", "Terry", "Jesse"};
constexpr std::array<std::string_view, 16> kLastNames{
    "Tremblay", "Smith", "Roy",      "Brown",  "Gagnon", "Wilson",   "MacDonald", "Martin",
    "Campbell", "Lee",   "Anderson", "Taylor", "Cote",   "Thompson", "White",     "Stewart"};

struct Place {
  std::string_view city;
  std::string_view areaCode;
  char postalLetter;
};
constexpr std::array<Place, 8> kOntario{{{"Toronto", "416", 'M'},
                                         {"Ottawa", "613", 'K'},
                                         {"Mississauga", "905", 'L'},
                                         {"Hamilton", "905", 'L'},
                                         {"London", "519", 'N'},
                                         {"Kingston", "613", 'K'},
                                         {"Sudbury", "705", 'P'},
                                         {"Kitchener", "519", 'N'}}};
constexpr std::array<Place, 3> kQuebec{
    {{"Montreal", "514", 'H'}, {"Quebec City", "418", 'G'}, {"Sherbrooke", "819", 'J'}}};
constexpr std::array<Place, 2> kAlberta{{{"Calgary", "403", 'T'}, {"Edmonton", "780", 'T'}}};

template <typename Array>
auto pick(const Array& values, size_t index) {
  return values[index % values.size()];
}

std::string lettersOnly(std::string_view text, size_t length) {
  std::string result;
  for (char c : text) {
    if (std::isalpha(static_cast<unsigned char>(c))) {
      result += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (result.size() == length) break;
  }
  return result;
}

}  // namespace

std::string padded(size_t number, int width) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width) {
    text.insert(0, static_cast<size_t>(width) - text.size(), '0');
  }
  return text;
}

std::string familyCode(const CodeFamilies& families, size_t index, int width) {
  return std::string(families[index % families.size()].prefix) +
         padded(index / families.size() + 1, width);
}

std::string familyLabel(const CodeFamilies& families, size_t index, int width) {
  return std::string(families[index % families.size()].label) + " " +
         padded(index / families.size() + 1, width);
}

std::string customerNumber(size_t index) {
  return std::to_string(1000 + 10 * index);
}

std::string vendorNumber(size_t index) {
  std::string number = std::to_string(1000 + 10 * index);
  number.insert(number.begin(), 'V');
  return number;
}

ItemNumber itemNumber(size_t index) {
  constexpr std::array<std::string_view, 6> kLines{"A1", "A2", "B1", "B2", "C1", "D1"};
  const size_t model = index / kLines.size();
  const std::string line(pick(kLines, index));
  const std::string series = std::to_string(1000 + 10 * (model / 3));
  const std::string variant = padded(model % 3 + 1, 2);
  return {line + series + variant, line + "-" + series + "-" + variant};
}

const CodeFamilies kCategoryFamilies{{{"HARD", "Hardware"},
                                      {"ELEC", "Electrical"},
                                      {"PLMB", "Plumbing"},
                                      {"PANT", "Paint"},
                                      {"GRDN", "Garden"},
                                      {"TOOL", "Tools"}}};
const CodeFamilies kPriceListFamilies{{{"CONT", "Contract prices"},
                                       {"GOVT", "Government prices"},
                                       {"EDUC", "Education prices"},
                                       {"EXPT", "Export prices"},
                                       {"DEAL", "Dealer prices"},
                                       {"STAF", "Staff prices"}}};
const CodeFamilies kCustomerGroupFamilies{{{"RTL", "Retail customers"},
                                           {"WHS", "Wholesale customers"},
                                           {"CON", "Contractors"},
                                           {"GOV", "Government"},
                                           {"EDU", "Schools and colleges"},
                                           {"HLT", "Health care"}}};
const CodeFamilies kVendorGroupFamilies{{{"MAT", "Raw material suppliers"},
                                         {"SVC", "Service providers"},
                                         {"UTL", "Utilities"},
                                         {"FRT", "Freight carriers"},
                                         {"OFF", "Office suppliers"},
                                         {"PRO", "Professional services"}}};

std::string categoryCode(size_t index) {
  return familyCode(kCategoryFamilies, index, 2);
}

std::string priceListCode(size_t index) {
  // The two lists every price list finder shows first.
  if (index == 0) return "RETAIL";
  if (index == 1) return "WHSALE";
  return familyCode(kPriceListFamilies, index - 2, 2);
}

std::string customerGroupCode(size_t index) {
  return familyCode(kCustomerGroupFamilies, index, 3);
}

std::string vendorGroupCode(size_t index) {
  return familyCode(kVendorGroupFamilies, index, 3);
}

const char* elsewhereGroup(size_t index) {
  return (index / 10) % 2 == 0 ? kQuebecGroup : kFederalGroup;
}

Party partyOf(size_t index, TaxState state) {
  Place place{};
  std::string province = "ON";
  if (state == TaxState::Elsewhere && elsewhereGroup(index) == kQuebecGroup) {
    place = pick(kQuebec, index / 10);
    province = "QC";
  } else if (state == TaxState::Elsewhere) {
    place = pick(kAlberta, index / 10);
    province = "AB";
  } else {
    place = pick(kOntario, index);
  }
  // Strides that share no factor with the list sizes spread the names over many combinations.
  const std::string prefix(pick(kNamePrefixes, index));
  const std::string trade(pick(kTrades, index * 5 + index / kNamePrefixes.size()));
  const std::string first(pick(kFirstNames, index * 3));
  const std::string last(pick(kLastNames, index * 7 + 1));
  const std::string number = padded(index % 10000, 4);

  Party party;
  party.name = prefix + " " + trade + " " + std::string(pick(kSuffixes, index));
  party.shortName = lettersOnly(prefix, 5) + lettersOnly(trade, 5);
  party.street = std::to_string(10 + (index * 37) % 990) + " " + std::string(pick(kStreets, index));
  party.city = place.city;
  party.province = province;
  party.postalCode = std::string(1, place.postalLetter) + std::to_string(index % 10) +
                     static_cast<char>('A' + index % 26) + " " + std::to_string(index / 10 % 10) +
                     static_cast<char>('B' + index % 24) + std::to_string(index / 100 % 10);
  party.contact = first + " " + last;
  party.phone = "(" + std::string(place.areaCode) + ") 555-" + number;
  party.fax = "(" + std::string(place.areaCode) + ") 556-" + number;
  const std::string domain = lettersOnly(prefix, 12) + lettersOnly(trade, 12);
  const std::string lowerDomain = platform::FoldCase(domain);
  party.email = platform::FoldCase(
      std::string(1, first[0]) + std::string(last.begin(), last.end()) + "@" + lowerDomain + ".ca");
  party.website = "www." + lowerDomain + ".ca";
  return party;
}

std::string businessNumber(size_t index) {
  return std::to_string(810000000 + (index * 104729) % 89999999) + "RT0001";
}

}  // namespace erp
