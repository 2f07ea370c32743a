#include "host/ProgressBar.h"
#include "host/WindowControls.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/GridControl.h"
#include "host/controls/StandaloneField.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace host {
namespace {

// Every model a window draws, set up as start-up leaves them.
struct Models {
  Models() {
    field->Define(StandaloneField::kTypeText, 12);
    bound.SetAccpacField(field);
    grid.SetColumnCount(2);
    grid.SetRowsCount(2);
    grid.DefineColumn(1, "CLASS1", -1, "Tax Class", 1, 90, true, true);
  }
  FieldEditControl edit;
  FieldEditControl bound;
  std::shared_ptr<StandaloneField> field = std::make_shared<StandaloneField>();
  GridControl grid;
  CheckBox box;
  TabControl tabs{{"Accounts Payable", "Accounts Receivable"}};
  CommandButton button;
  MenuItem menu;
  WindowControl frame;
  ProgressBar progress;
  TextBox processing;
};

ViewFinder CustomerFinder() {
  ViewFinder finder;
  finder.ViewID = "AR0024";
  return finder;
}

template <typename... Args>
ScopedConnection Counting(Signal<Args...>& signal, int& calls) {
  return signal.Connect([&calls](Args...) { ++calls; });
}

struct NotificationCase {
  const char* name;
  std::function<ScopedConnection(Models&, int&)> listen;
  std::function<void(Models&)> change;
};

#define LISTEN(signal) [](Models& m, int& calls) { return Counting(m.signal, calls); }
#define CHANGE(code) [](Models& m) { m.code; }

// Each change is made twice by program code: the view hears of it once.
TEST(ChangeNotificationTest, EachChangeByTheProgramIsAnnouncedOnce) {
  const NotificationCase cases[] = {
      {"EditValue", LISTEN(edit.ValueChanged), CHANGE(edit.SetValue("C100"))},
      {"EditValueTyped", LISTEN(edit.ValueChanged), CHANGE(edit.Type("C100"))},
      {"EditValueOfBoundField", LISTEN(bound.ValueChanged),
       CHANGE(field->PutWithoutVerification(std::string("C100")))},
      {"EditValueSetIntoBoundField", LISTEN(bound.ValueChanged), CHANGE(bound.SetValue("C100"))},
      {"EditCaption", LISTEN(edit.CaptionChanged), CHANGE(edit.SetCaption("From"))},
      {"EditLeftLabel", LISTEN(edit.LeftLabelChanged), CHANGE(edit.SetLeftLabel("Customer"))},
      {"EditEnabled", LISTEN(edit.EnabledChanged), CHANGE(edit.SetEnabled(false))},
      {"EditVisible", LISTEN(edit.VisibleChanged), CHANGE(edit.SetVisible(false))},
      {"EditTag", LISTEN(edit.TagChanged), CHANGE(edit.SetTag("OLD"))},
      {"EditField", LISTEN(edit.FieldChanged), CHANGE(edit.SetAccpacField(m.field))},
      {"EditFieldDefinition", LISTEN(bound.FieldChanged),
       CHANGE(field->SetDefinitionText(StandaloneField::kItemName, "CODE"))},
      {"EditFinder", LISTEN(edit.FinderChanged), CHANGE(edit.SetViewFinder(CustomerFinder()))},
      {"EditPresentation", LISTEN(edit.PresentationChanged), CHANGE(edit.SetNumberDomain(4))},
      {"EditButtonDefined", LISTEN(edit.ButtonsChanged), CHANGE(edit.DefineButton(0, 1, "More"))},
      {"EditButtonCount", LISTEN(edit.ButtonsChanged), CHANGE(edit.SetButtonCount(1))},
      {"FieldValue", LISTEN(field->ValueChanged), CHANGE(field->PutWithVerification(1))},
      {"FieldDefinition", LISTEN(field->DefinitionChanged), CHANGE(field->SetAttributeValue(6))},
      {"GridCell", LISTEN(grid.CellChanged), CHANGE(grid.SetCellData(1, 0, "2"))},
      {"GridRowsCount", LISTEN(grid.RowsChanged), CHANGE(grid.SetRowsCount(5))},
      {"GridColumns", LISTEN(grid.ColumnsChanged), CHANGE(grid.SetColumnCount(3))},
      {"GridColumnDefined", LISTEN(grid.ColumnsChanged),
       CHANGE(grid.DefineColumn(0, "AUTHORITY", -1, "Authority", 0, 160, false, false))},
      {"GridCurrentCell", LISTEN(grid.CurrentCellChanged), CHANGE(grid.GoToCell(1, 1, true))},
      {"GridCurrentRow", LISTEN(grid.CurrentCellChanged), CHANGE(grid.SelectRow(2))},
      {"GridEditState", LISTEN(grid.EditStateChanged), CHANGE(grid.SetEditState(true))},
      {"GridEnabled", LISTEN(grid.EnabledChanged), CHANGE(grid.SetEnabled(false))},
      {"GridFocus", LISTEN(grid.FocusChanged), CHANGE(grid.SetFocus())},
      {"CheckBoxValue", LISTEN(box.ValueChanged), CHANGE(box.SetValue(1))},
      {"CheckBoxEnabled", LISTEN(box.EnabledChanged), CHANGE(box.SetEnabled(false))},
      {"CheckBoxVisible", LISTEN(box.VisibleChanged), CHANGE(box.SetVisible(false))},
      {"CurrentTab", LISTEN(tabs.TabChanged), CHANGE(tabs.SetTab(1))},
      {"TabEnabled", LISTEN(tabs.TabEnabledChanged), CHANGE(tabs.SetTabEnabled(1, false))},
      {"ButtonEnabled", LISTEN(button.EnabledChanged), CHANGE(button.SetEnabled(false))},
      {"ButtonVisible", LISTEN(button.VisibleChanged), CHANGE(button.SetVisible(false))},
      {"ButtonCaption", LISTEN(button.CaptionChanged), CHANGE(button.SetCaption("Con&vert"))},
      {"MenuItemEnabled", LISTEN(menu.EnabledChanged), CHANGE(menu.SetEnabled(false))},
      {"FrameVisible", LISTEN(frame.VisibleChanged), CHANGE(frame.SetVisible(false))},
      {"ProgressValue", LISTEN(progress.ValueChanged), CHANGE(progress.SetValue(40))},
      {"ProgressRange", LISTEN(progress.RangeChanged), CHANGE(progress.SetMax(500))},
      {"ProcessingText", LISTEN(processing.TextChanged), CHANGE(processing.SetText("ARCUS"))},
  };
  for (const NotificationCase& c : cases) {
    Models models;
    int calls = 0;
    ScopedConnection connection = c.listen(models, calls);
    c.change(models);
    c.change(models);
    EXPECT_EQ(1, calls) << c.name;
  }
}

#undef LISTEN
#undef CHANGE

TEST(ChangeNotificationTest, ATabEnabledChangeNamesTheTab) {
  TabControl tabs{{"Accounts Payable", "Accounts Receivable"}};
  int changedTab = -1;
  ScopedConnection connection = tabs.TabEnabledChanged.Connect([&](int tab) { changedTab = tab; });
  tabs.SetTabEnabled(1, false);
  EXPECT_EQ(1, changedTab);
}

TEST(ChangeNotificationTest, AShrinkingRangeAnnouncesTheValueItMoves) {
  ProgressBar progress;
  progress.SetValue(80);
  int calls = 0;
  ScopedConnection connection = Counting(progress.ValueChanged, calls);
  progress.SetMax(50);
  EXPECT_EQ(50, progress.Value());
  EXPECT_EQ(1, calls);
  progress.SetValue(51);
  EXPECT_EQ(50, progress.Value()) << "more records than counted stay within the bar";
  EXPECT_EQ(1, calls);
}

TEST(ChangeNotificationTest, AGridAnnouncesTheCellAndTheCurrentRowADeletionMoves) {
  Models m;
  m.grid.GoToCell(0, 1, true);
  std::vector<std::string> heard;
  ScopedConnection cells = m.grid.CellChanged.Connect(
      [&](int c, int r) { heard.push_back(std::to_string(c) + "," + std::to_string(r)); });
  ScopedConnection rows = m.grid.RowsChanged.Connect([&] { heard.push_back("rows"); });
  ScopedConnection current = m.grid.CurrentCellChanged.Connect([&] { heard.push_back("current"); });
  m.grid.SetCellData(1, 0, "3");
  m.grid.DeleteCurrentRow();
  EXPECT_EQ((std::vector<std::string>{"1,0", "rows", "current"}), heard);
}

TEST(ChangeNotificationTest, TheGridAnnouncesItsEditorOpeningAndClosing) {
  Models m;
  int calls = 0;
  ScopedConnection connection = Counting(m.grid.EditorChanged, calls);
  ASSERT_NE(nullptr, m.grid.BeginEdit(1, 0));
  m.grid.CancelEdit();
  EXPECT_EQ(2, calls);
}

TEST(ChangeNotificationTest, AViewOutlivingItsModelIsSafe) {
  auto field = std::make_shared<StandaloneField>();
  int calls = 0;
  ScopedConnection view;
  {
    FieldEditControl control;
    control.SetAccpacField(field);
    view = Counting(control.ValueChanged, calls);
  }
  // The field outlives the control that listened to it.
  field->PutWithoutVerification(std::string("C100"));
  EXPECT_FALSE(view.Connected());
  EXPECT_EQ(0, calls);
  EXPECT_EQ(0u, field->ValueChanged.ConnectionCount());
}

}  // namespace
}  // namespace host
