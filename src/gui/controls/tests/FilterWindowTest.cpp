#include "gui/controls/FilterWindowDialog.h"

#include "gui/controls/FieldEditWidget.h"
#include "gui/controls/tests/GuiFixture.h"

#include "grids/CriteriaField.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

namespace gui::controls::testing {
namespace {

using Conditions = std::vector<FilterCondition>;

TEST(FilterConditionsTest, FiltersOfPlainConditionsBecomeRows) {
  auto isText = [](const std::string& field) { return field != "SWHOLD"; };
  auto rows = [&](const std::string& filter) { return ParseConditions(filter, isText); };
  EXPECT_EQ((Conditions{{false, "IDCUST", ">=", "A\"B"}, {true, "SWHOLD", "=", "1"}}),
            rows("IDCUST >= \"A\\\"B \" or SWHOLD=1"));
  EXPECT_EQ(Conditions{}, rows(""));
  EXPECT_EQ(std::nullopt, rows("(IDCUST = \"A\")")) << "parentheses";
  EXPECT_EQ(std::nullopt, rows("IDCUST = IDGRP")) << "a text field compared with a field";
  EXPECT_EQ(std::nullopt, rows("IDCUST = \"A\" AND")) << "incomplete";
  EXPECT_EQ("IDCUST LIKE \"A\\ \" AND SWHOLD = 0",
            FilterText({{false, "IDCUST", "LIKE", "A\\"}, {false, "SWHOLD", "=", "0"}}, isText))
      << "a blank keeps the closing quote after a backslash";
}

/// The customers' criteria field on the "to" customer control, with the Qt filter window.
class FilterWindowTest : public GuiFixture {
 protected:
  FilterWindowTest() {
    filterWindow.SetServices(&services);
    criteria.DataSource(customers.get());
    criteria.EditControl(&toCustomer);
  }

  void PressCriteriaButton() {
    ASSERT_EQ(1u, widget.ExtraButtons().size());
    QTest::mouseClick(widget.ExtraButtons()[0], Qt::LeftButton);
  }

  std::unique_ptr<host::DataSource> customers = company.open("AR0024");
  host::FieldEditControl toCustomer;
  QtFilterWindow filterWindow;
  grids::CriteriaField criteria{filterWindow};
  FieldEditWidget widget{toCustomer, services};
};

TEST_F(FilterWindowTest, TheCriteriaButtonTakesTheFilterBuiltInTheWindow) {
  const std::string built = "IDCUST >= \"C100\" OR NAMECUST LIKE \"%Catering%\"";
  std::string shown;
  AnswerModal([&](QDialog& dialog) {
    auto& window = dynamic_cast<FilterWindowDialog&>(dialog);
    window.AddCondition();
    window.OperatorBox(0).setCurrentText(">=");
    window.ValueBox(0).setText("C100");
    window.AddCondition();
    window.JoinBox(1).setCurrentText("OR");
    window.FieldBox(1).setCurrentIndex(window.FieldBox(1).findText("Customer Name"));
    window.OperatorBox(1).setCurrentText("LIKE");
    QTest::keyClicks(&window.ValueBox(1), "%Catering%");
    shown = window.FilterBox().toPlainText().toStdString();
    EXPECT_FALSE(window.FinderButton(0).isHidden()) << "customer numbers have a finder";
    EXPECT_TRUE(window.FinderButton(1).isHidden());
    window.accept();
  });
  QToolButton& button = *widget.ExtraButtons()[0];
  PressCriteriaButton();
  EXPECT_EQ(built, shown);
  EXPECT_EQ(built, criteria.Filter());
  EXPECT_TRUE(button.isChecked()) << "the button shows that criteria are set";

  const std::string refused = "IDCUST >= \"C100\" AND";
  AnswerModal([&](QDialog& dialog) {
    auto& window = dynamic_cast<FilterWindowDialog&>(dialog);
    ASSERT_EQ(2, window.ConditionCount()) << "the filter opens in rows";
    EXPECT_EQ("OR", window.JoinBox(1).currentText().toStdString());
    EXPECT_EQ("%Catering%", window.ValueBox(1).text().toStdString());
    window.FilterBox().setPlainText(QString::fromStdString(refused));
    window.accept();
    ASSERT_TRUE(dialog.isVisible()) << "a filter the view cannot use is refused";
    const std::optional<host::FilterProblem> problem = customers->CheckFilter(refused);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->message, window.Problem().text().toStdString());
    EXPECT_FALSE(window.Problem().isHidden());
    EXPECT_EQ(static_cast<int>(problem->position),
              window.FilterBox().textCursor().selectionStart());
  });
  PressCriteriaButton();
  EXPECT_EQ(built, criteria.Filter()) << "cancelled, the filter stays";
  EXPECT_TRUE(button.isChecked()) << "a click does not toggle what the filter decides";
}

TEST_F(FilterWindowTest, AddConditionTurnsTypedTextIntoRowsOrRefusesAndKeepsIt) {
  auto add = [&](const char* name, const std::string& typed, int rows, const std::string& text,
                 bool refused) {
    FilterWindowDialog window(*customers, "", services);
    window.FilterBox().setPlainText(QString::fromStdString(typed));
    window.AddButton().click();
    EXPECT_EQ(rows, window.ConditionCount()) << name;
    EXPECT_EQ(text, window.FilterBox().toPlainText().toStdString()) << name;
    EXPECT_EQ(refused, !window.Problem().isHidden()) << name;
    return window.Problem().text().toStdString();
  };
  add("Rows", "NAMECUST LIKE \"%Cat%\" OR SWHOLD = 1", 3,
      "NAMECUST LIKE \"%Cat%\" OR SWHOLD = 1 AND IDCUST = \"\"", false);
  const std::string malformed = "IDCUST >= \"C100\" AND";
  EXPECT_EQ(customers->CheckFilter(malformed)->message,
            add("Malformed", malformed, 0, malformed, true));
  const std::string grouped = "(IDCUST = \"C1\")";
  add("Grouped", grouped, 0, grouped, true);
}

}  // namespace
}  // namespace gui::controls::testing
