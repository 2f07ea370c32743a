#include "app/Layout.h"

#include "convert/Targets.h"
#include "host/testsupport/StandinCatalog.h"

#include <gtest/gtest.h>

namespace app {
namespace {

const erp::ViewDef& ViewOfSource(const std::string& source) {
  for (const DataSourceDef& def : DataSources()) {
    if (def.name == source) return host::testing::StandinView(def.view);
  }
  throw std::out_of_range("no data source " + source);
}

/// The field the kinds' filters compare with the control's value, or "" when none does.
std::string ComparedField(const std::string& control) {
  for (const convert::KindTarget& kind : convert::KindTargets()) {
    for (const convert::FilterCondition& condition : kind.conditions) {
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

// The first pair of a box starts its kind: it is laid out full width and carries the criteria.
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
