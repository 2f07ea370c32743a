#include "app/Layout.h"

#include "app/WindowLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace app {
namespace {

TEST(LayoutTest, EveryTabSourceIsADeclaredDataSource) {
  std::set<std::string> declared;
  for (const DataSourceDef& def : DataSources()) declared.insert(def.name);
  EXPECT_EQ(49u, declared.size());
  std::size_t opened = TaxSources().size();
  for (const TabDef& tab : Tabs()) {
    for (const std::string& name : tab.sources) EXPECT_EQ(1u, declared.count(name)) << name;
    opened += tab.sources.size();
  }
  EXPECT_EQ(49u, opened);
}

TEST(LayoutTest, CriteriaFieldsBindTheFirstToControlOfTheirKind) {
  ASSERT_EQ(19u, CriteriaFields().size());
  auto find = [](const std::string& name) {
    for (const CriteriaDef& def : CriteriaFields()) {
      if (def.name == name) return def;
    }
    return CriteriaDef{};
  };
  EXPECT_EQ("afecToCustomerShipTo", find("ShipToCriteria").editControl);
  EXPECT_EQ("adsARCSP", find("ShipToCriteria").source);
  EXPECT_EQ("afecPOContractCostItemTo", find("ContractCostCriteria").editControl);
  EXPECT_EQ("adsBKTT", find("DistributionCodeCriteria").source);
}

TEST(LayoutTest, EveryCheckBoxOwnsExactlyOneFirstPair) {
  for (const CheckBoxDef& box : CheckBoxes()) {
    int first = 0;
    for (const RangePairDef& pair : RangePairs())
      first += pair.checkBox == box.name && pair.firstOfBox;
    EXPECT_EQ(1, first) << box.name;
  }
}

TEST(LayoutTest, ItemPricingRowsFollowTheLayoutTableNotThePreparationOrder) {
  const SectionDef& pricing =
      *std::find_if(Sections().begin(), Sections().end(),
                    [](const SectionDef& s) { return s.caption == "Item Pricing Taxes"; });
  std::vector<std::string> rows;
  for (const RangePairDef* pair : SectionRows(pricing)) rows.push_back(pair->from);
  EXPECT_EQ((std::vector<std::string>{"afecFromItemPrice", "afecFromItemPriceList",
                                      "afecFromItemPriceCurrency", "afecFromPriceList"}),
            rows);
  const WindowGeometry window = LayOutWindow();
  EXPECT_LT(window.controls.at("afecFromItemPriceList").top,
            window.controls.at("afecFromItemPriceCurrency").top);
}

TEST(LayoutTest, EveryControlLiesInsideItsFrameAndEveryFrameOnTheTabControl) {
  const WindowGeometry window = LayOutWindow();
  const ControlBox& tab = window.controls.at("SSTab1");
  for (const auto& [name, box] : window.controls) {
    if (box.container.empty()) continue;
    const ControlBox& frame = window.controls.at(box.container);
    EXPECT_LE(box.left + box.width, frame.width) << name;
    EXPECT_LE(box.top + box.height, frame.height) << name;
  }
  for (const SectionDef& section : Sections()) {
    const ControlBox& frame = window.controls.at(section.frame);
    EXPECT_LE(frame.top + frame.height, tab.height) << section.frame;
  }
  EXPECT_LT(tab.top + tab.height, window.controls.at("cmdClose").top);
}

}  // namespace
}  // namespace app
