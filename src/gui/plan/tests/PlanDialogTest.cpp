#include "gui/plan/PlanDialog.h"

#include "gui/plan/PlanOutput.h"
#include "standin/sample/SampleSite.h"

#include <QLabel>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace gui {
namespace {

/// The sample site in the temp folder, found through its registry store as ordavel finds it.
class PlanDialogTest : public ::testing::Test {
 public:
  void SetUp() override {
    std::filesystem::remove_all(folder_);
    setenv("ORDAVEL_REGISTRY", (folder_ / "registry").c_str(), 1);
    erp::createSampleSite(folder_ / "site", ORDAVEL_RUNTIME_LIBRARIES);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Result() const {
    return dialog_.findChild<QLabel*>(QStringLiteral("result"))->text().toStdString();
  }

  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("ordavel-plan-dialog-" + std::to_string(getpid()));
  PlanDialog dialog_{nullptr, QStringLiteral(ORDAVEL_BATCH_PROGRAM), QString()};
};

TEST_F(PlanDialogTest, ThePreviewShowsTheTableAndTheConversionItsPlanRunFile) {
  dialog_.SetPlan(QStringLiteral(ORDAVEL_EXAMPLE_PLAN), QStringLiteral("admin"));
  dialog_.Preview();
  dialog_.WaitForRun();
  const QTableWidget& table = *dialog_.findChild<QTableWidget*>();
  ASSERT_EQ(31, table.rowCount()) << dialog_.Output();
  EXPECT_EQ("Total", table.item(30, 1)->text().toStdString());
  EXPECT_EQ("5040", table.item(30, 3)->text().toStdString());
  EXPECT_EQ("Would convert", table.horizontalHeaderItem(3)->text().toStdString());
  dialog_.Convert(true);
  dialog_.WaitForRun();
  EXPECT_EQ("Converted", table.horizontalHeaderItem(3)->text().toStdString());
  const std::optional<std::string> runFile = PlanRunFileOf(dialog_.Output());
  ASSERT_TRUE(runFile) << dialog_.Output();
  EXPECT_TRUE(std::filesystem::is_regular_file(*runFile));
  EXPECT_NE(std::string::npos, Result().find(*runFile)) << Result();
}

TEST_F(PlanDialogTest, AWrongPasswordIsRefusedAndConvertsNothing) {
  dialog_.SetPlan(QStringLiteral(ORDAVEL_EXAMPLE_PLAN), QStringLiteral("wrong"));
  dialog_.Convert(true);
  dialog_.WaitForRun();
  EXPECT_EQ(0, dialog_.findChild<QTableWidget*>()->rowCount());
  EXPECT_EQ(PlanStatusText(1, false), Result()) << dialog_.Output();
}

}  // namespace
}  // namespace gui
