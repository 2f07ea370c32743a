#include "standin/sample/SampleStory.h"

#include "standin/database/ValueText.h"
#include "standin/sample/RecordWriter.h"
#include "standin/sample/SampleNames.h"

#include <SQLiteCpp/Statement.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace erp {
namespace {

/// The everyday fields of a record, recognised by their description so that one filler serves
/// every view.
enum class Filler {
  Name,
  ShortName,
  Street,
  City,
  Province,
  PostalCode,
  Country,
  Contact,
  Phone,
  Fax,
  Email,
  Website,
  Description,
  Active,
  LastMaintained,
  StartDate,
  HomeCurrency,
  Terms,
  AccountSet,
  Yes,
  Unit,
  PriceList,
  GroupCode,
  Price,
};

const std::map<std::string, Filler>& fillersByDescription() {
  static const std::map<std::string, Filler> fillers{
      {"Customer Name", Filler::Name},
      {"Vendor Name", Filler::Name},
      {"Location Name", Filler::Name},
      {"Legal Name", Filler::Name},
      {"Short Name", Filler::ShortName},
      {"Address Line 1", Filler::Street},
      {"City", Filler::City},
      {"State/Prov.", Filler::Province},
      {"Zip/Postal Code", Filler::PostalCode},
      {"Country", Filler::Country},
      {"Contact Name", Filler::Contact},
      {"Telephone", Filler::Phone},
      {"Fax Number", Filler::Fax},
      {"E-mail", Filler::Email},
      {"Web Site", Filler::Website},
      {"Description", Filler::Description},
      {"Item Description", Filler::Description},
      {"Invoice Description", Filler::Description},
      {"Status", Filler::Active},
      {"Date Last Maintained", Filler::LastMaintained},
      {"Start Date", Filler::StartDate},
      {"Currency Code", Filler::HomeCurrency},
      {"Terms Code", Filler::Terms},
      {"Account Set", Filler::AccountSet},
      {"Stock Item", Filler::Yes},
      {"Sellable", Filler::Yes},
      {"Stocking Unit of Measure", Filler::Unit},
      {"Costing Unit of Measure", Filler::Unit},
      {"Base Unit of Measure", Filler::Unit},
      {"Price List", Filler::PriceList},
      {"Default Price List", Filler::PriceList},
      {"Group Code", Filler::GroupCode},
      {"Base Price", Filler::Price},
  };
  return fillers;
}

bool isKeyField(const ViewDef& view, int number) {
  if (view.keys.empty()) return false;
  for (int key : view.keys.front().fields) {
    if (key == number) return true;
  }
  return false;
}

/// Where the header's tax fields are and which everyday fields it has.
struct HeaderLayout {
  std::vector<std::pair<int, Filler>> fillers;
  std::vector<int> currencies;
  int taxGroup = 0;
  std::array<int, 5> classes{};
  int registration1 = 0;
  int registration2 = 0;
  bool needsParty = false;
};

HeaderLayout headerLayout(const RecordWriter& writer) {
  const ViewDef& view = writer.view();
  HeaderLayout layout;
  for (const FieldDef& field : view.fields) {
    if (isKeyField(view, field.number)) continue;
    if (field.check == Check::TaxGroup && layout.taxGroup == 0) layout.taxGroup = field.number;
    if (field.check == Check::TaxClassOfGroup && field.slot >= 1 && field.slot <= 5) {
      layout.classes[static_cast<size_t>(field.slot - 1)] = field.number;
    }
    if (field.check == Check::Currency) layout.currencies.push_back(field.number);
    if (field.check != Check::None && field.check != Check::UpperCode) continue;
    auto found = fillersByDescription().find(field.description);
    if (found == fillersByDescription().end()) continue;
    layout.fillers.emplace_back(field.number, found->second);
    if (found->second <= Filler::Website) layout.needsParty = true;
  }
  if (writer.hasField("IDTAXREGI1")) layout.registration1 = writer.number("IDTAXREGI1");
  if (writer.hasField("IDTAXREGI2")) layout.registration2 = writer.number("IDTAXREGI2");
  return layout;
}

/// Where a detail view's key, authority, class and tax-included fields are.
struct DetailLayout {
  std::vector<std::pair<int, int>> headerKey;  ///< detail field <- header field
  int authority = 0;
  int authorityDescription = 0;
  std::vector<int> classes;
  std::vector<int> taxIncluded;
};

DetailLayout detailLayout(const RecordWriter& detail, const RecordWriter& header) {
  DetailLayout layout;
  const std::vector<int>& headerKey = header.view().keys.front().fields;
  const std::vector<int>& detailKey = detail.view().keys.front().fields;
  for (size_t i = 0; i < headerKey.size() && i < detailKey.size(); ++i) {
    layout.headerKey.emplace_back(detailKey[i], headerKey[i]);
  }
  if (detail.hasField("FMTITEMNO") && header.hasField("FMTITEMNO")) {
    layout.headerKey.emplace_back(detail.number("FMTITEMNO"), header.number("FMTITEMNO"));
  }
  for (const FieldDef& field : detail.view().fields) {
    if (field.check == Check::TaxAuthority && layout.authority == 0)
      layout.authority = field.number;
    if (field.check == Check::TaxClassOfAuthority) layout.classes.push_back(field.number);
    if (field.check == Check::TaxIncluded) layout.taxIncluded.push_back(field.number);
    if (field.description == "Tax Authority Description")
      layout.authorityDescription = field.number;
  }
  return layout;
}

struct TaxLine {
  const char* authority;
  const char* description;
  std::int64_t taxClass;
};

std::vector<TaxLine> taxLines(TaxState state, size_t index) {
  const TaxLine gst{"GST", "Goods and Services Tax (federal)", 1};
  switch (state) {
    case TaxState::Before:
      return {gst, {"ONPST", "Ontario Retail Sales Tax", 1}};
    case TaxState::Exempt:
      return {{"GST", gst.description, 2}, {"ONPST", "Ontario Retail Sales Tax", 2}};
    case TaxState::Converted:
      return {gst, {"HST", "Ontario Harmonized Sales Tax", 1}};
    case TaxState::Elsewhere:
      if (std::string(elsewhereGroup(index)) == kQuebecGroup) {
        return {gst, {"QST", "Quebec Sales Tax", 1}};
      }
      return {gst};
    case TaxState::Untaxed:
      break;
  }
  return {};
}

struct GroupChoice {
  std::string group;
  std::array<std::int64_t, 5> classes{};
};

GroupChoice groupChoice(TaxState state, size_t index) {
  switch (state) {
    case TaxState::Before:
      return {kBeforeGroup, {1, 1}};
    case TaxState::Exempt:
      return {kBeforeGroup, {2, 2}};
    case TaxState::Converted:
      return {kAfterGroup, {1}};
    case TaxState::Elsewhere:
      if (std::string(elsewhereGroup(index)) == kQuebecGroup) return {kQuebecGroup, {1, 1}};
      return {kFederalGroup, {1}};
    case TaxState::Untaxed:
      break;
  }
  return {};
}

Value fillerValue(Filler filler, const Party& party, const RecordKind& kind, size_t index) {
  switch (filler) {
    case Filler::Name:
      return party.name;
    case Filler::ShortName:
      return party.shortName;
    case Filler::Street:
      return party.street;
    case Filler::City:
      return party.city;
    case Filler::Province:
      return party.province;
    case Filler::PostalCode:
      return party.postalCode;
    case Filler::Country:
      return std::string("Canada");
    case Filler::Contact:
      return party.contact;
    case Filler::Phone:
      return party.phone;
    case Filler::Fax:
      return party.fax;
    case Filler::Email:
      return party.email;
    case Filler::Website:
      return party.website;
    case Filler::Description:
      return kind.describe(index);
    case Filler::Active:
    case Filler::Yes:
      return std::int64_t{1};
    case Filler::LastMaintained:
      return std::int64_t{20100615};
    case Filler::StartDate:
      return std::int64_t{20050101 + 10000 * static_cast<std::int64_t>(index % 5)};
    case Filler::HomeCurrency:
      return std::string("CAD");
    case Filler::Terms:
      return std::string(index % 4 == 0 ? "NET15" : "NET30");
    case Filler::AccountSet:
      return std::string("STD");
    case Filler::Unit:
      return std::string("EA");
    case Filler::PriceList:
      return std::string("RETAIL");
    case Filler::GroupCode:
      return std::string(kind.module) == "AP" ? vendorGroupCode(index % 120)
                                              : customerGroupCode(index % 120);
    case Filler::Price:
      return 4.99 + static_cast<double>((index * 37) % 500);
  }
  return {};
}

void fillHeader(RecordWriter& header, const HeaderLayout& layout, const RecordKind& kind,
                size_t index, TaxState state) {
  const Party party = layout.needsParty ? partyOf(index, state) : Party{};
  for (const auto& [number, filler] : layout.fillers) {
    header.set(number, fillerValue(filler, party, kind, index));
  }
  for (int number : layout.currencies) header.set(number, "CAD");
  kind.setKeys(header, index);

  if (state == TaxState::Untaxed || layout.taxGroup == 0) return;
  // A record without class fields (a template) carries only its group: it cannot be exempt.
  const bool hasClasses = layout.classes != std::array<int, 5>{};
  if (state == TaxState::Exempt && !hasClasses) state = TaxState::Before;
  const GroupChoice choice = groupChoice(state, index);
  header.set(layout.taxGroup, choice.group);
  for (size_t slot = 0; slot < layout.classes.size(); ++slot) {
    if (layout.classes[slot] != 0) header.set(layout.classes[slot], choice.classes[slot]);
  }
  // A third of the Ontario customers give their registration numbers.
  if (layout.registration1 == 0 || index % 3 != 0) return;
  if (state == TaxState::Before || state == TaxState::Exempt || state == TaxState::Converted) {
    header.set(layout.registration1, businessNumber(index));
  }
  if (state == TaxState::Before && layout.registration2 != 0) {
    // An Ontario retail sales tax vendor permit, "1234-5678".
    header.set(layout.registration2, std::to_string(1000 + (index * 7919 + 2345) % 9000) + "-" +
                                         std::to_string(1000 + (index * 104729 + 6789) % 9000));
  }
  if (state == TaxState::Elsewhere && layout.registration2 != 0 && choice.group == kQuebecGroup) {
    header.set(layout.registration1, businessNumber(index));
    header.set(layout.registration2, padded(1200000000 + index * 7, 10) + "TQ0001");
  }
}

void writeTaxRows(RecordWriter& detail, const DetailLayout& layout,
                  const std::vector<std::pair<int, Value>>& headerValues, size_t index,
                  TaxState state) {
  for (const TaxLine& line : taxLines(state, index)) {
    for (const auto& [number, value] : headerValues) detail.set(number, value);
    detail.set(layout.authority, line.authority);
    if (layout.authorityDescription != 0) detail.set(layout.authorityDescription, line.description);
    for (int number : layout.classes) detail.set(number, line.taxClass);
    for (int number : layout.taxIncluded) detail.set(number, std::int64_t{0});
    detail.write();
  }
}

}  // namespace

TaxState sampleTaxState(size_t index) {
  switch (index % 10) {
    case 7:
      return TaxState::Exempt;
    case 8:
      return TaxState::Converted;
    case 9:
      return TaxState::Elsewhere;
    default:
      return TaxState::Before;
  }
}

std::vector<TaxState> keyBlockTaxStates(CompanyDatabase& database, const RecordKind& kind,
                                        size_t count) {
  // The keys are only set, never written: the writer serves as a buffer that knows the view.
  RecordWriter keys(database, kind.headerView);
  std::vector<std::pair<std::string, size_t>> order;
  for (size_t index = 0; index < count; ++index) {
    kind.setKeys(keys, index);
    std::string key;
    for (int number : keys.view().keys.front().fields)
      key += valueText(keys.value(number)) + '\x1f';
    order.emplace_back(std::move(key), index);
  }
  std::sort(order.begin(), order.end());
  std::vector<TaxState> states(count);
  for (size_t rank = 0; rank < count; ++rank) {
    const size_t tenth = rank * 10 / count;
    states[order[rank].second] = tenth < 7    ? TaxState::Before
                                 : tenth == 7 ? TaxState::Exempt
                                 : tenth == 8 ? TaxState::Converted
                                              : TaxState::Elsewhere;
  }
  return states;
}

void writeRecords(CompanyDatabase& database, const RecordKind& kind, size_t first, size_t count,
                  const std::function<TaxState(size_t index)>& stateOf) {
  RecordWriter header(database, kind.headerView);
  const HeaderLayout headerFields = headerLayout(header);
  std::optional<RecordWriter> detail;
  DetailLayout detailFields;
  if (*kind.detailView != '\0') {
    detail.emplace(database, kind.detailView);
    detailFields = detailLayout(*detail, header);
  }
  std::vector<std::pair<int, Value>> headerValues;
  for (size_t index = first; index < first + count; ++index) {
    const TaxState state = stateOf(index);
    fillHeader(header, headerFields, kind, index, state);
    headerValues.clear();
    for (const auto& [detailNumber, headerNumber] : detailFields.headerKey) {
      headerValues.emplace_back(detailNumber, header.value(headerNumber));
    }
    header.write();
    if (detail) writeTaxRows(*detail, detailFields, headerValues, index, state);
  }
}

size_t recordCount(CompanyDatabase& database, const std::string& viewId) {
  SQLite::Statement query(database.sql(),
                          "SELECT COUNT(*) FROM \"" + database.catalog().get(viewId).id + "\"");
  query.executeStep();
  return static_cast<size_t>(query.getColumn(0).getInt64());
}

}  // namespace erp
