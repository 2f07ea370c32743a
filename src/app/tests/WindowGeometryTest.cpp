#include "app/WindowGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Layout.h"
#include "app/WindowLayout.h"

namespace app {
namespace {

class DoResizeTest : public ::testing::Test {
 protected:
  DoResizeTest() {
    window.height = 9000;
    window.width = 11500;
    window.controls["SSTab1"] = {60, 60, 11355, 6900, "TTTT"};
    window.controls["cmdClose"] = {10080, 7860, 1335, 375, "FFTT"};
    window.controls["cmdConvert"] = {60, 7860, 1335, 375, "FFFT"};
    window.controls["agSalesFrom"] = {3255, 2000, 3765, 1365, "FFFF"};
    window.controls["afecFromCustomer"] = {3255, 450, 3765, 315, "Customer"};
    DoResize(window);
  }
  WindowGeometry window;
};

TEST_F(DoResizeTest, FirstResizeRecordsTheSmallestSize) {
  EXPECT_EQ(9000, window.MinHeight);
  EXPECT_EQ(11500, window.MinWidth);
  EXPECT_EQ(6900, window.controls["SSTab1"].height);
}

TEST_F(DoResizeTest, EnlargingMovesAndStretchesByTag) {
  window.width += 300;
  window.height += 600;
  DoResize(window);
  const ControlBox& tab = window.controls["SSTab1"];
  EXPECT_EQ(11655, tab.width);
  EXPECT_EQ(7500, tab.height);
  EXPECT_EQ(10380, window.controls["cmdClose"].left);
  EXPECT_EQ(8460, window.controls["cmdClose"].top);
  EXPECT_EQ(60, window.controls["cmdConvert"].left);
  EXPECT_EQ(8460, window.controls["cmdConvert"].top);
  EXPECT_EQ(3255, window.controls["agSalesFrom"].left);
  EXPECT_EQ(2000, window.controls["agSalesFrom"].top);
  EXPECT_EQ(3765, window.controls["afecFromCustomer"].width);
}

TEST_F(DoResizeTest, SmallerThanFirstSizeSnapsBack) {
  window.width = 8000;
  window.height = 5000;
  DoResize(window);
  EXPECT_EQ(11500, window.width);
  EXPECT_EQ(9000, window.height);
  EXPECT_EQ(11355, window.controls["SSTab1"].width);
}

TEST_F(DoResizeTest, MinimisedMovesNothing) {
  window.minimised = true;
  window.width += 300;
  window.height += 600;
  DoResize(window);
  EXPECT_EQ(7860, window.controls["cmdClose"].top);
  EXPECT_EQ(9000, window.LastHeight);
}

TEST(WindowLayoutTest, ItemPricingRowsFollowTheLayoutTableNotThePreparationOrder) {
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

TEST(WindowLayoutTest, EveryControlLiesInsideItsFrameAndEveryFrameOnTheTabControl) {
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
