#include "app/Layout.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace app
