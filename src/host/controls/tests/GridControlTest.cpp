#include "host/controls/GridControl.h"

#include "host/HostError.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace host {
namespace {

// Records every notification as one line and lets a test act inside chosen ones.
struct GridRecorder : GridEvents {
  void OnFocusGained(GridControl&) override { log.push_back("focus gained"); }
  void OnFocusLost(GridControl&) override { log.push_back("focus lost"); }
  void OnEditorOpens(GridControl&, const std::string& field, int c, int r,
                     FieldEditControl& editor) override {
    log.push_back("opens " + field + " " + At(c, r) + " " + editor.Value());
    if (onOpen) onOpen(editor);
  }
  void OnEditorCloses(GridControl& grid, const std::string& field, int c, int r,
                      FieldEditControl& editor, bool changed) override {
    log.push_back("closes " + field + " " + At(c, r) + " " + editor.Value() + " " +
                  (changed ? "changed" : "same") + " cell " + grid.GetCellData(c, r));
  }
  void OnCellClicked(GridControl&, int c, int r) override { log.push_back("clicked " + At(c, r)); }
  void OnBeforeCellEdit(GridControl&, int c, int r, bool& mayEdit) override {
    log.push_back("before edit " + At(c, r) + (mayEdit ? " yes" : " no"));
    if (refuseEdit) mayEdit = false;
  }
  void OnKeyPressed(GridControl&, int key, int r, int c, const std::string& text, bool shift,
                    bool ctrl, bool alt) override {
    log.push_back("key " + std::to_string(key) + " " + At(c, r) + " " + text + " " +
                  std::to_string(shift) + std::to_string(ctrl) + std::to_string(alt));
  }
  void OnFinderRequested(GridControl&, const std::string& field, int c, int r,
                         FieldEditControl&) override {
    log.push_back("finder " + field + " " + At(c, r));
  }
  void OnRowLeft(GridControl& grid, int r) override {
    log.push_back("row left " + std::to_string(r));
    if (deleteLeftRow) grid.DeleteCurrentRow();
  }
  void OnBeforeRowChange(GridControl&, bool& mayLeave) override {
    log.push_back("before row change");
    if (keepRow) mayLeave = false;
  }
  static std::string At(int c, int r) {
    return "(" + std::to_string(c) + "," + std::to_string(r) + ")";
  }

  std::vector<std::string> log;
  bool refuseEdit = false;
  bool deleteLeftRow = false;
  bool keepRow = false;
  std::function<void(FieldEditControl&)> onOpen;
};

class GridControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetColumnCount(2);
    grid.DefineColumn(0, "CODE", -1, "Code", 0, 80, true, true);
    grid.DefineColumn(1, "NOTE", -1, "Note", 1, 60, false, false);
    grid.SetRowsCount(3);
    for (int r = 0; r < 3; ++r) grid.SetCellData(0, r, "r" + std::to_string(r));
    grid.AddListener(&events);
  }
  GridControl grid;
  GridRecorder events;
};

TEST_F(GridControlTest, RowsGrowEmptyAndShrinkFromTheEnd) {
  grid.SelectRow(3);
  grid.SetRowsCount(4);
  EXPECT_EQ("", grid.GetCellData(0, 3));
  grid.SetRowsCount(1);
  EXPECT_EQ("r0", grid.GetCellData(0, 0));
  EXPECT_EQ(0, grid.CurrentRow());
  grid.SetRowsCount(0);
  EXPECT_EQ(-1, grid.CurrentRow());
  EXPECT_THROW(grid.GetCellData(0, 0), HostError);
}

TEST_F(GridControlTest, DeleteReportsTheOneBasedPositionAndKeepsThePlace) {
  grid.SelectRow(2);
  EXPECT_EQ(1, grid.CurrentRow());
  EXPECT_EQ(2, grid.DeleteCurrentRow());
  EXPECT_EQ(1, grid.CurrentRow());
  EXPECT_EQ("r2", grid.GetCellData(0, 1));
  EXPECT_EQ(2, grid.DeleteCurrentRow());
  EXPECT_EQ(0, grid.CurrentRow());
  EXPECT_THROW(grid.SelectRow(0), HostError);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(GridControlTest, MovingRaisesBeforeChangeThenRowLeftWhileStillCurrent) {
  grid.GoToCell(0, 0, true);
  EXPECT_TRUE(grid.MoveToRow(2));
  EXPECT_EQ((std::vector<std::string>{"focus gained", "before row change", "row left 0"}),
            events.log);
  EXPECT_EQ(2, grid.CurrentRow());
}

TEST_F(GridControlTest, ARefusedRowChangeKeepsTheRow) {
  grid.GoToCell(0, 0, true);
  events.keepRow = true;
  EXPECT_FALSE(grid.MoveToRow(1));
  EXPECT_EQ(0, grid.CurrentRow());
}

TEST_F(GridControlTest, DeletingTheRowLeftShiftsTheTargetUp) {
  grid.GoToCell(0, 0, true);
  events.deleteLeftRow = true;
  EXPECT_TRUE(grid.MoveToRow(2));
  EXPECT_EQ(2, grid.RowsCount());
  EXPECT_EQ(1, grid.CurrentRow());
  EXPECT_EQ("r2", grid.GetCellData(0, grid.CurrentRow()));
}

TEST_F(GridControlTest, EditingRaisesItsNotificationsInOrderAndWritesTheCell) {
  grid.GoToCell(0, 1, true);
  grid.SetFocus();
  events.log.clear();
  EXPECT_TRUE(grid.EditCell(0, 1, "new"));
  EXPECT_EQ((std::vector<std::string>{"before edit (0,1) yes", "opens CODE (0,1) r1",
                                      "closes CODE (0,1) new changed cell new"}),
            events.log);
  EXPECT_EQ(nullptr, grid.Editor());
}

TEST_F(GridControlTest, TheSameValueClosesUnchanged) {
  EXPECT_FALSE(grid.EditCell(0, 0, "r0"));
  EXPECT_EQ("closes CODE (0,0) r0 same cell r0", events.log.back());
}

TEST_F(GridControlTest, ACellThatMayNotBeEditedOpensNoEditor) {
  EXPECT_FALSE(grid.EditCell(1, 0, "x"));
  EXPECT_EQ("before edit (1,0) no", events.log.back());
  events.refuseEdit = true;
  EXPECT_FALSE(grid.EditCell(0, 0, "x"));
  EXPECT_EQ("r0", grid.GetCellData(0, 0));
}

TEST_F(GridControlTest, ARefusedValueClosesTheEditorUnchangedAndRaises) {
  auto field = std::make_shared<StandaloneField>();
  field->Define(StandaloneField::kTypeInt16, 6);
  events.onOpen = [&](FieldEditControl& editor) {
    field->PutWithoutVerification(editor.Value());
    editor.SetAccpacField(field);
  };
  grid.SetCellData(0, 0, "5");
  EXPECT_THROW(grid.EditCell(0, 0, "five"), HostError);
  EXPECT_EQ("closes CODE (0,0) 5 same cell 5", events.log.back());
}

TEST_F(GridControlTest, TheFinderIsRequestedForTheOpenEditor) {
  EXPECT_EQ(nullptr, grid.RequestFinder());
  ASSERT_NE(nullptr, grid.BeginEdit(0, 2));
  EXPECT_NE(nullptr, grid.RequestFinder());
  EXPECT_EQ("finder CODE (0,2)", events.log.back());
  grid.CancelEdit();
  EXPECT_EQ("closes CODE (0,2) r2 same cell r2", events.log.back());
}

TEST_F(GridControlTest, ClickAndKeysGoToTheCurrentCell) {
  EXPECT_TRUE(grid.Click(1, 2));
  grid.PressKey(89, true, false, true);
  EXPECT_EQ((std::vector<std::string>{"focus gained", "before row change", "clicked (1,2)",
                                      "key 89 (1,2)  101"}),
            events.log);
}

TEST_F(GridControlTest, ADisabledGridIgnoresTheOperator) {
  grid.SetEnabled(false);
  EXPECT_FALSE(grid.Focus());
  EXPECT_FALSE(grid.Click(0, 0));
  grid.PressKey(GridControl::kKeyInsert);
  EXPECT_TRUE(events.log.empty());
}

}  // namespace
}  // namespace host
