#include "convert/KindTable.h"

#include "host/testsupport/StandinCatalog.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace convert {

/// Names a failing kind by its procedure instead of dumping its bytes.
void PrintTo(const KindDef& target, std::ostream* out) {
  *out << target.procedure;
}

namespace {

/// The field a condition compares: the opening text without its parenthesis and operator.
std::string ComparedField(const FilterCondition& condition) {
  std::string field = condition.opening.substr(1);
  return field.substr(0, field.find_first_of("<>="));
}

const erp::ViewDef& View(const std::string& id) {
  return host::testing::StandinView(id);
}

std::vector<KindDef> KindsOf(ConversionType type) {
  std::vector<KindDef> kinds;
  for (const KindDef& target : Kinds()) {
    if (target.type == type) kinds.push_back(target);
  }
  return kinds;
}

std::string ProcedureName(const ::testing::TestParamInfo<KindDef>& kind) {
  return kind.param.procedure;
}

/// Each kind of the table checked against the stand-in ERP's view catalog, so that a position,
/// prefix or field name that does not exist in the view it is meant for is caught here rather
/// than by a failed conversion.
class KindCatalogTest : public ::testing::TestWithParam<KindDef> {};

INSTANTIATE_TEST_SUITE_P(AllKinds, KindCatalogTest, ::testing::ValuesIn(Kinds()), ProcedureName);

TEST_P(KindCatalogTest, EveryFilterFieldExistsInTheHeaderView) {
  const erp::ViewDef& header = View(GetParam().headerView);
  for (const FilterCondition& condition : GetParam().conditions) {
    EXPECT_NE(nullptr, header.field(ComparedField(condition))) << condition.opening;
  }
}

TEST_P(KindCatalogTest, OnlyItemNumberFieldsAreUnformatted) {
  const erp::ViewDef& header = View(GetParam().headerView);
  for (const FilterCondition& condition : GetParam().conditions) {
    const erp::FieldDef* field = header.field(ComparedField(condition));
    ASSERT_NE(nullptr, field) << condition.opening;
    EXPECT_EQ(field->check == erp::Check::ItemNumber, condition.unformat) << condition.opening;
  }
}

TEST_P(KindCatalogTest, RangeLinesShowFilterControlsAndHideOnlyCurrencies) {
  const KindDef& target = GetParam();
  const erp::ViewDef& header = View(target.headerView);
  auto conditionOf = [&](const std::string& control) -> const FilterCondition* {
    for (const FilterCondition& condition : target.conditions) {
      if (condition.control == control) return &condition;
    }
    return nullptr;
  };
  for (const RangeLine& line : target.rangeLines) {
    const FilterCondition* from = conditionOf(line.fromControl);
    const FilterCondition* to = conditionOf(line.toControl);
    ASSERT_NE(nullptr, from) << line.fromControl;
    ASSERT_NE(nullptr, to) << line.toControl;
    EXPECT_EQ(ComparedField(*from), ComparedField(*to)) << line.fromControl;
    EXPECT_EQ(">=", from->opening.substr(from->opening.size() - 2)) << line.fromControl;
    EXPECT_EQ("<=", to->opening.substr(to->opening.size() - 2)) << line.toControl;
    bool currency = header.field(ComparedField(*from))->check == erp::Check::Currency;
    EXPECT_EQ(currency, line.onlyWhileVisible) << line.fromControl;
  }
}

/// The ten kinds whose header records carry a tax group and its classes.
class TaxGroupKindCatalogTest : public KindCatalogTest {};

INSTANTIATE_TEST_SUITE_P(TaxGroupKinds, TaxGroupKindCatalogTest,
                         ::testing::ValuesIn(KindsOf(ConversionType::TaxGroup)), ProcedureName);

TEST_P(TaxGroupKindCatalogTest, TaxGroupPositionNamesTheComparedTaxGroupField) {
  const KindDef& target = GetParam();
  const erp::FieldDef* field = View(target.headerView).field(target.lTaxGroupIDX);
  ASSERT_NE(nullptr, field);
  EXPECT_EQ(erp::Check::TaxGroup, field->check) << field->name;
  const FilterCondition& last = target.conditions.back();
  EXPECT_EQ("(" + field->name + "= ", last.opening);
  EXPECT_EQ(target.toGrid.substr(0, target.toGrid.size() - 6),
            target.fromGrid.substr(0, target.fromGrid.size() - 8))
      << "from and to grids of one section";
  EXPECT_EQ("", target.detailSource);
  EXPECT_EQ("", target.authorityGrid);
}

TEST_P(TaxGroupKindCatalogTest, ClassAndRegistrationPrefixesNameFiveFieldsEach) {
  const KindDef& target = GetParam();
  const erp::ViewDef& header = View(target.headerView);
  for (int n = 1; n <= 5; ++n) {
    if (!target.taxClassFieldPrefix.empty()) {
      const erp::FieldDef* field = header.field(target.taxClassFieldPrefix + std::to_string(n));
      ASSERT_NE(nullptr, field) << target.taxClassFieldPrefix << n;
      EXPECT_EQ(erp::Check::TaxClassOfGroup, field->check) << field->name;
      EXPECT_EQ(target.lTaxGroupIDX, field->ref) << field->name;
      EXPECT_EQ(n, field->slot) << field->name;
    }
    if (!target.taxRegistrationFieldPrefix.empty()) {
      EXPECT_NE(nullptr, header.field(target.taxRegistrationFieldPrefix + std::to_string(n)))
          << target.taxRegistrationFieldPrefix << n;
    }
  }
}

/// The nine kinds whose tax classes live in per-authority detail rows.
class TaxAuthorityKindCatalogTest : public KindCatalogTest {};

INSTANTIATE_TEST_SUITE_P(TaxAuthorityKinds, TaxAuthorityKindCatalogTest,
                         ::testing::ValuesIn(KindsOf(ConversionType::TaxAuthority)), ProcedureName);

TEST_P(TaxAuthorityKindCatalogTest, DetailPositionsCarryAuthorityClassAndTaxIncludedChecks) {
  const KindDef& target = GetParam();
  const erp::ViewDef& detail = View(target.detailView);
  ASSERT_TRUE(detail.composition.has_value());
  EXPECT_EQ(target.headerView, detail.composition->headerView);
  const erp::FieldDef* authority = detail.field(target.lAuhorityIDX);
  ASSERT_NE(nullptr, authority);
  EXPECT_EQ(erp::Check::TaxAuthority, authority->check) << authority->name;
  for (std::int32_t position : target.classFieldIDX) {
    const erp::FieldDef* field = detail.field(position);
    ASSERT_NE(nullptr, field) << position;
    EXPECT_EQ(erp::Check::TaxClassOfAuthority, field->check) << field->name;
    EXPECT_EQ(target.lAuhorityIDX, field->ref) << field->name;
  }
  for (std::int32_t position : target.taxIncludedFieldIDX) {
    const erp::FieldDef* field = detail.field(position);
    ASSERT_NE(nullptr, field) << position;
    EXPECT_EQ(erp::Check::TaxIncluded, field->check) << field->name;
    EXPECT_EQ(target.lAuhorityIDX, field->ref) << field->name;
  }
}

TEST_P(TaxAuthorityKindCatalogTest, FromAndToClassColumnsWriteTheSameFields) {
  const KindDef& target = GetParam();
  const auto& positions = target.classFieldIDX;
  ASSERT_EQ(0u, positions.size() % 2);
  std::vector<std::int32_t> from(positions.begin(), positions.begin() + positions.size() / 2);
  std::vector<std::int32_t> to(positions.begin() + positions.size() / 2, positions.end());
  EXPECT_EQ(from, to);
  EXPECT_EQ("", target.fromGrid);
  EXPECT_EQ(-1, target.lTaxGroupIDX);
}

TEST(KindTableTest, TabsRunTheirKindsInTheTablesOrder) {
  std::vector<std::string> procedures;
  std::vector<std::string> tabs;
  for (const KindDef& target : Kinds()) {
    procedures.push_back(target.procedure);
    if (tabs.empty() || tabs.back() != target.tab) tabs.push_back(target.tab);
  }
  EXPECT_EQ((std::vector<std::string>{"AP", "AR", "IC", "OE", "PO", "BK"}), tabs);
  EXPECT_EQ(
      (std::vector<std::string>{
          "ConvertVendors", "ConvertVendorGroups", "ConvertRecurringPayables", "ConvertCustomers",
          "ConvertCustomerGroups", "ConvertCustomerShipTo", "ConvertRecurringCharges",
          "ConvertARItemTaxes", "ConvertItems", "ConvertItemCategories", "ConvertItemPricing",
          "ConvertPriceListCodes", "ConvertOETemplateCodes", "ConvertOEMiscCharges",
          "ConvertPOTemplateCodes", "ConvertPOAdditionalCosts", "ConvertVendorContractCosts",
          "ConvertBanks", "ConvertBankDistributionCodes"}),
      procedures);
}

TEST(KindTableTest, CheckBoxesLogNamesAndCriteriaBelongToOneKindEach) {
  std::set<std::string> checkBoxes, logNames, criteria;
  for (const KindDef& target : Kinds()) {
    EXPECT_TRUE(checkBoxes.insert(target.checkBox).second) << target.checkBox;
    EXPECT_TRUE(logNames.insert(target.logName).second) << target.logName;
    EXPECT_TRUE(criteria.insert(target.criteria).second) << target.criteria;
    EXPECT_EQ(target.tab + "_", target.logName.substr(0, 3)) << target.logName;
  }
}

TEST(KindTableTest, OnlyCustomersWriteRegistrationLines) {
  std::vector<std::string> withRegistrations;
  for (const KindDef& target : Kinds()) {
    if (!target.taxRegistrationFieldPrefix.empty()) withRegistrations.push_back(target.procedure);
  }
  EXPECT_EQ(std::vector<std::string>{"ConvertCustomers"}, withRegistrations);
}

TEST(KindTableTest, TargetsAreFoundByProcedureName) {
  EXPECT_EQ("AR_Customer_Ship_To_Adresses", KindTargetOf("ConvertCustomerShipTo").logName);
  EXPECT_EQ("adsICPRTX", KindTargetOf("ConvertItemPricing").detailSource);
  EXPECT_THROW(KindTargetOf("ConvertEverything"), std::out_of_range);
}

const erp::ViewDef& ViewOfSource(const std::string& source) {
  for (const SourceDef& def : AllSources()) {
    if (def.name == source) return host::testing::StandinView(def.view);
  }
  throw std::out_of_range("no data source " + source);
}

/// The field the kinds' filters compare with the control's value, or "" when none does.
std::string ComparedField(const std::string& control) {
  for (const KindDef& kind : Kinds()) {
    for (const FilterCondition& condition : kind.conditions) {
      if (condition.control != control) continue;
      const std::string field = condition.opening.substr(1);
      return field.substr(0, field.find_first_of("<>="));
    }
  }
  return "";
}

// The layout names range fields and finder fields by position: each position must hold the field
// the conversion filters on, and each finder's fields must exist in its view.
TEST(LayoutCatalogTest, RangeAndFinderPositionsNameTheFieldsTheConversionUses) {
  for (const RangePairDef& pair : RangePairs()) {
    const erp::ViewDef& view = ViewOfSource(pair.source);
    const erp::FieldDef* field = view.field(pair.field);
    ASSERT_NE(nullptr, field) << pair.from;
    // An item number may be shown formatted while the filter compares it unformatted.
    const std::string compared = ComparedField(pair.from);
    EXPECT_TRUE(field->name == compared || (pair.itemNumber && field->name == "FMT" + compared))
        << pair.from << " shows " << field->name << ", the filter compares " << compared;
    EXPECT_EQ(ComparedField(pair.from), ComparedField(pair.to)) << pair.to;
    const FinderSetup& finder = FinderSetupOf(pair.finder);
    const erp::ViewDef& finderView = host::testing::StandinView(finder.viewId);
    for (const std::vector<int>* ids : {&finder.display, &finder.search, &finder.returned}) {
      for (int id : *ids) EXPECT_NE(nullptr, finderView.field(id)) << pair.from << " " << id;
    }
  }
}

// Every data source of a kind opens a view of the catalog, within a set whose header comes first.
TEST(KindTableTest, EverySourceOpensAViewOfTheCatalogAfterItsHeader) {
  for (const KindDef& kind : Kinds()) {
    std::set<std::string> opened;
    for (const SourceDef& source : kind.sources) {
      EXPECT_NO_THROW(View(source.view)) << source.name;
      EXPECT_TRUE(source.parent.empty() || opened.count(source.parent)) << source.name;
      opened.insert(source.name);
    }
    EXPECT_TRUE(kind.detailSource.empty() || opened.count(kind.detailSource)) << kind.procedure;
  }
}

}  // namespace
}  // namespace convert
