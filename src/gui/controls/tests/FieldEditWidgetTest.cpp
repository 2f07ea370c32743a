#include "gui/controls/FieldEditWidget.h"

#include "gui/controls/tests/GuiFixture.h"

#include "grids/TaxGroupGrid.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <vector>

namespace gui::controls::testing {
namespace {

using Log = std::vector<std::string>;

/// Writes down the control's notifications, after the mapping that owns the control saw them.
class FieldEditRecorder : public host::FieldEditEvents {
 public:
  void OnValidate(host::FieldEditControl& control, bool& cancel) override {
    log.push_back("validate '" + control.Value() + "'" + (cancel ? " refused" : ""));
  }
  void OnButtonPressed(host::FieldEditControl&, int code) override {
    log.push_back("button " + std::to_string(code));
  }
  void OnValueChanged(host::FieldEditControl& control) override {
    log.push_back("changed '" + control.Value() + "'");
  }
  Log log;
};

/// The from sales tax-group control of the customer section, drawn by the widge
class FieldEditWidgetTest : public GuiFixture {
 protected:
  FieldEditWidgetTest() {
    mapping.Name("Customer Taxes");
    mapping.Grid(&grid);
    mapping.adsTXGRP(groups.get());
    mapping.afecTaxGroup(&control);
    mapping.Caption("From Sales Tax Group");
    mapping.adsTXCLASS(classes.get());
    mapping.AddTaxClassColumn("Tax Class", 90, 1, 1);
    control.AddListener(&recorder);
  }

  /// Picks the tax group in the finder that F5 opened.
  void PickInFinder(const std::string& group) {
    QTest::keyClick(&widget.Edit(), Qt::Key_F5);
    FinderDialog* finder = widget.OpenedFinder();
    ASSERT_NE(nullptr, finder);
    QAbstractItemModel& rows = *finder->Table().model();
    for (int row = 0; row < rows.rowCount(); ++row) {
      if (rows.index(row, 0).data().toString().toStdString() == group) {
        finder->Table().setCurrentIndex(rows.index(row, 0));
      }
    }
    QTest::keyClick(&finder->Table(), Qt::Key_Return);
  }

  std::unique_ptr<host::DataSource> groups = company.open("TX0003");
  std::unique_ptr<host::DataSource> classes = company.open("TX0001");
  host::GridControl grid;
  host::FieldEditControl control;
  grids::TaxGroupGrid mapping{[this] { return company.newErrorDisplay(); }};
  FieldEditRecorder recorder;
  FieldEditWidget widget{control, services};
};

TEST_F(FieldEditWidgetTest, DrawsTheModel) {
  EXPECT_EQ("From Sales Tax Group", widget.Label().text().toStdString());
  EXPECT_FALSE(widget.FinderButton().isHidden()) << "the control has a finder";
  control.SetValue("HST");
  EXPECT_EQ("HST", widget.Edit().text().toStdString());
  control.SetEnabled(false);
  EXPECT_FALSE(widget.isEnabled());
}

struct Operation {
  const char* name;
  std::function<void()> act;
  Log notifications;
  std::string value;
  int authorityRows;
  std::string shownError;
};

TEST_F(FieldEditWidgetTest, OperatorActionsRaiseTheNotificationsInOrder) {
  const std::vector<Operation> operations{
      {"typed value, Tab",
       [this] {
         QTest::keyClicks(&widget.Edit(), "hst");
         QTest::keyClick(&widget.Edit(), Qt::Key_Tab);
       },
       {"changed 'HST'", "validate 'HST'"},
       "HST",
       1,
       ""},
      {"tax group refused by the program, Enter",
       [this] {
         QTest::keyClicks(&widget.Edit(), "NOPE");
         QTest::keyClick(&widget.Edit(), Qt::Key_Return);
       },
       {"changed 'NOPE'", "validate '' refused"},
       "",
       0,
       "Error: Invalid input. From Sales Tax Group Tax Group NOPE does not exist.\n"},
      {"finder pick",
       [this] { PickInFinder("OLD"); },
       {"changed 'OLD'", "validate 'OLD'"},
       "OLD",
       2,
       ""},
  };
  for (const Operation& operation : operations) {
    SCOPED_TRACE(operation.name);
    control.SetValue("");
    control.SetTag("");
    grid.SetRowsCount(0);
    recorder.log.clear();
    const std::string shownBefore = company.shownErrors();
    operation.act();
    EXPECT_EQ(operation.notifications, recorder.log);
    EXPECT_EQ(operation.value, control.Value());
    EXPECT_EQ(operation.value, widget.Edit().text().toStdString()) << "the widget shows it";
    EXPECT_EQ(operation.authorityRows, grid.RowsCount());
    EXPECT_EQ(operation.shownError, company.shownErrors().substr(shownBefore.size()));
  }
}

TEST_F(FieldEditWidgetTest, AValueTheFieldRefusesIsShownAndTheOldOneComesBack) {
  host::FieldEditControl number;
  auto field = std::make_shared<host::StandaloneField>();
  field->Define(host::StandaloneField::kTypeInt16, 2);
  field->SetDefinitionText(host::StandaloneField::kItemDescription, "Class");
  number.SetAccpacField(field);
  number.AddListener(&recorder);
  FieldEditWidget classWidget(number, services);
  QTest::keyClick(&classWidget.Edit(), Qt::Key_End);
  QTest::keyClicks(&classWidget.Edit(), "x");
  QTest::keyClick(&classWidget.Edit(), Qt::Key_Return);
  EXPECT_EQ("Error: Invalid value for Class: 0x.\n", company.shownErrors());
  EXPECT_EQ("0", classWidget.Edit().text().toStdString());
  EXPECT_TRUE(recorder.log.empty()) << "neither value changed nor validation";
}

TEST_F(FieldEditWidgetTest, EscapeInTheFinderLeavesTheControlAsItWas) {
  control.SetValue("HST");
  QTest::keyClick(&widget.Edit(), Qt::Key_F5);
  ASSERT_NE(nullptr, widget.OpenedFinder());
  QTest::keyClick(&widget.OpenedFinder()->Table(), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(nullptr, widget.OpenedFinder());
  EXPECT_TRUE(recorder.log.empty());
  EXPECT_EQ("HST", control.Value());
}

TEST_F(FieldEditWidgetTest, ExtraButtonsReportTheirCodes) {
  control.DefineButton(0, 1, "Additional Criteria");
  control.SetButtonCount(1);
  ASSERT_EQ(1u, widget.ExtraButtons().size());
  EXPECT_EQ("Additional Criteria", widget.ExtraButtons()[0]->text().toStdString());
  QTest::mouseClick(widget.ExtraButtons()[0], Qt::LeftButton);
  EXPECT_EQ(Log{"button 6"}, recorder.log);
}

}  // namespace
}  // namespace gui::controls::testing
