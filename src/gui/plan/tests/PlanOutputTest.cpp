#include "gui/plan/PlanOutput.h"

#include <gtest/gtest.h>

namespace gui {
namespace {

TEST(PlanOutputTest, TheLastTableOfTheOutputIsReadRowByRow) {
  const std::string output =
      "Plan: Ontario\nA/R Items: 300 to convert, 240 converted, 0 skipped, 0 failed in 0.1 s\n"
      "\nPlan\nCompany  Kind   Selected Would convert Would skip Not affected Would fail\n"
      "SAMLTD   Vendors   240   240   0    0   0\n"
      "SAMWST   A/R Items   300   240   1   59   0\n"
      "Total                540   480   1   59   0\n"
      "Plan-run file: /site/SharedData/Company/SAMLTD/Ordavel/20100701_090000_plan_run.csv\n";
  const std::vector<PlanTableRow> expected{{"SAMLTD", "Vendors", {240, 240, 0, 0, 0}},
                                           {"SAMWST", "A/R Items", {300, 240, 1, 59, 0}},
                                           {"", "Total", {540, 480, 1, 59, 0}}};
  EXPECT_EQ(expected, PlanTableOf(output));
  EXPECT_EQ("/site/SharedData/Company/SAMLTD/Ordavel/20100701_090000_plan_run.csv",
            PlanRunFileOf(output).value_or(""));
}

TEST(PlanOutputTest, AnOutputWithoutATableGivesNoRowsAndNoPlanRunFile) {
  const std::string refused =
      "plan is refused:\nplan:3: user ADMIN cannot sign on to company X.\n"
      "Nothing was converted.\n";
  EXPECT_TRUE(PlanTableOf(refused).empty());
  EXPECT_FALSE(PlanRunFileOf(refused));
  EXPECT_EQ("Refused: nothing was converted.", PlanStatusText(1, false));
}

}  // namespace
}  // namespace gui
