#include "grids/TaxAuthorityGrid.h"

#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <vector>

namespace grids {
namespace {

using Cells = std::vector<std::string>;
using host::GridControl;

constexpr int kOperation = 0;
constexpr int kAuthority = 1;
constexpr int kFrom = 2;
constexpr int kTo = 3;
constexpr int kIncluded = 4;
constexpr int kKeyN = 78;
constexpr int kKeyY = 89;

constexpr const char* kBlankAuthority = "Error: Invalid input. Tax Authority cannot be blank.\n";

// An A/R item taxes mapping as the main window sets it up, driven as the operator works.
class TaxAuthorityGridTest : public ::testing::Test {
 protected:
  TaxAuthorityGridTest() { ItemTaxes(grid, mapping); }

  // Sets `into` up as the main window sets up A/R item taxes on `itemGrid`.
  void ItemTaxes(GridControl& itemGrid, TaxAuthorityGrid& into) {
    into.Name("A/R Item Taxes");
    into.Grid(&itemGrid);
    into.adsTXAUTH(authorities.get());
    into.adsTXCLASS(classes.get());
    into.AddFromTaxClassColumn("From Tax Class", 109, 1, 2);
    into.AddToTaxClassColumn("To Tax Class", 99, 1, 2);
    into.AddTaxIncludedColumn("Tax Included", 80);
  }
  // What the error display showed since the last call.
  std::string NewlyShown() {
    const std::string all = company.shownErrors();
    const std::string shown = all.substr(shownBefore_);
    shownBefore_ = all.size();
    return shown;
  }

  Cells Row(int row) const {
    Cells cells;
    for (int column = 0; column < grid.ColumnCount(); ++column) {
      cells.push_back(grid.GetCellData(column, row));
    }
    return cells;
  }
  std::vector<std::string> Authorities() const {
    std::vector<std::string> rows;
    for (int row = 0; row < grid.RowsCount(); ++row) rows.push_back(mapping.Authority(row));
    return rows;
  }
  // Rows for each authority, entered in the first row and then below with the Insert key.
  void EnterRows(const std::vector<std::string>& codes, GridControl* into = nullptr) {
    GridControl& target = into ? *into : grid;
    target.Focus();
    for (size_t i = 0; i < codes.size(); ++i) {
      if (i > 0) target.PressKey(GridControl::kKeyInsert);
      target.EditCell(kAuthority, target.CurrentRow(), codes[i]);
    }
  }

  host::testing::StandinCompany company;
  std::unique_ptr<host::DataSource> authorities = company.open("TX0002");
  std::unique_ptr<host::DataSource> classes = company.open("TX0001");
  GridControl grid;
  TaxAuthorityGrid mapping{[this] { return company.newErrorDisplay(); }};
  size_t shownBefore_ = 0;
};

// A window draws the finder buttons and the toggle-only cell from these flags.
TEST_F(TaxAuthorityGridTest, AuthorityAndClassColumnsOfferFindersAndTaxIncludedIsOnlyToggled) {
  EXPECT_TRUE(grid.Column(kAuthority).finder);
  EXPECT_TRUE(grid.Column(kFrom).finder && grid.Column(kTo).finder);
  EXPECT_FALSE(grid.Column(kIncluded).editable);
}

// A field position left from the kind before would write the next kind's detail at that position.
TEST_F(TaxAuthorityGridTest, ADetailSourceForgetsTheFieldPositionsOfTheKindBefore) {
  mapping.SetTaxClassFieldIDX(kFrom, 3);
  mapping.SetTaxClassFieldIDX(kTo, 3);
  mapping.SetTaxIncludedFieldIDX(kIncluded, 4);
  mapping.adsDetail(classes.get());
  EXPECT_EQ(-1, mapping.GetTaxClassFromField(kFrom)->IDX);
  EXPECT_EQ(-1, mapping.GetTaxClassToField(kTo)->IDX);
  EXPECT_EQ(-1, mapping.GetTaxIncludedField(kIncluded)->IDX);
}

TEST_F(TaxAuthorityGridTest, HeaderAndFilterZeroTheCounters) {
  mapping.Filter("old");
  mapping.lUpdated(4);
  mapping.adsHeader(classes.get());
  EXPECT_EQ("", mapping.Filter());
  EXPECT_EQ(0, mapping.lUpdated());
  mapping.lFailed(2);
  mapping.Filter("X");
  EXPECT_EQ(0, mapping.lFailed());
}

TEST_F(TaxAuthorityGridTest, EnteringAnEmptyGridInsertsTheFirstRow) {
  EXPECT_TRUE(grid.Focus());
  ASSERT_EQ(1, grid.RowsCount());
  EXPECT_EQ((Cells{"Insert", "", "", "1", "No"}), Row(0));
  EXPECT_EQ(0, grid.CurrentRow());
  EXPECT_EQ(kOperation, grid.CurrentColumn());
  EXPECT_TRUE(mapping.InsertMode());
  EXPECT_EQ(0, mapping.InsertedRow());
}

TEST_F(TaxAuthorityGridTest, ChangingTheOperationResetsTheRow) {
  EnterRows({"pst"});
  grid.EditCell(kTo, 0, "2");
  ASSERT_EQ((Cells{"Insert", "PST", "", "2", "No"}), Row(0));
  auto check = [&](const std::string& operation, const Cells& expected) {
    EXPECT_TRUE(grid.EditCell(kOperation, 0, operation)) << operation;
    EXPECT_EQ(expected, Row(0)) << operation;
  };
  check("Update", {"Update", "PST", "1", "1", "No"});
  check("Delete", {"Delete", "PST", "", "", ""});
  check("Insert", {"Insert", "PST", "", "1", "No"});
}

TEST_F(TaxAuthorityGridTest, TheOperationDecidesWhichCellsMayBeEdited) {
  EnterRows({"PST"});
  auto check = [&](const std::string& operation, int column, bool editable) {
    grid.SetCellData(kOperation, 0, operation);
    bool opened = grid.BeginEdit(column, 0) != nullptr;
    grid.CancelEdit();
    EXPECT_EQ(editable, opened) << operation << " column " << column;
  };
  check("Insert", kFrom, false);
  check("Insert", kTo, true);
  check("Insert", kIncluded, true);
  check("Update", kFrom, true);
  check("Update", kIncluded, true);
  check("Delete", kFrom, false);
  check("Delete", kTo, false);
  check("Delete", kIncluded, false);
  check("Delete", kAuthority, true);
}

const char* const kGstRefused = "Error: Invalid input. GST does not allow tax in price.\n";

TEST_F(TaxAuthorityGridTest, KeysToggleTaxIncludedOnlyWhereTheAuthorityAllowsTaxInPrice) {
  auto check = [this](const char* name, const char* authority, const char* cellBefore, int key,
                      bool shift, const char* cellAfter, const char* shown) {
    GridControl rows;
    TaxAuthorityGrid taxes{[this] { return company.newErrorDisplay(); }};
    ItemTaxes(rows, taxes);
    EnterRows({authority}, &rows);
    NewlyShown();
    rows.SetCellData(kIncluded, 0, cellBefore);
    rows.GoToCell(kIncluded, 0, true);
    rows.PressKey(key, shift, false, false);
    EXPECT_EQ(cellAfter, rows.GetCellData(kIncluded, 0)) << name;
    EXPECT_EQ(shown, NewlyShown()) << name;
  };
  check("YRefusedByGst", "GST", "No", kKeyY, false, "No", kGstRefused);
  check("YAllowedByPst", "PST", "No", kKeyY, false, "Yes", "");
  check("YOnYesAsksNothing", "GST", "Yes", kKeyY, false, "Yes", "");
  check("NWithoutAsking", "GST", "Yes", kKeyN, false, "No", "");
  check("SpaceRefusedByGst", "GST", "No", GridControl::kKeySpace, false, "No", kGstRefused);
  check("SpaceTurnsYesToNo", "GST", "Yes", GridControl::kKeySpace, false, "No", "");
  check("SpaceAllowedByHst", "hst", "No", GridControl::kKeySpace, false, "Yes", "");
  check("ShiftedKeyIgnored", "PST", "No", kKeyY, true, "No", "");
}

TEST_F(TaxAuthorityGridTest, ClickingTaxIncludedAsksTheAuthority) {
  EnterRows({"GST", "PST"});
  grid.Click(kIncluded, 0);
  EXPECT_EQ("No", grid.GetCellData(kIncluded, 0));
  EXPECT_EQ(kGstRefused, company.shownErrors());
  grid.Click(kIncluded, 1);
  EXPECT_EQ("Yes", grid.GetCellData(kIncluded, 1));
  grid.SetCellData(kOperation, 1, "Delete");
  grid.SetCellData(kIncluded, 1, "");
  grid.Click(kIncluded, 1);
  EXPECT_EQ("", grid.GetCellData(kIncluded, 1));
}

TEST_F(TaxAuthorityGridTest, LeavingARowWithoutAuthorityDeletesIt) {
  EnterRows({"GST"});
  grid.PressKey(GridControl::kKeyInsert);
  ASSERT_EQ(2, grid.RowsCount());
  EXPECT_TRUE(grid.MoveToRow(0));
  EXPECT_EQ((std::vector<std::string>{"GST"}), Authorities());
  EXPECT_EQ(0, grid.CurrentRow());
  EXPECT_FALSE(mapping.InsertMode());
}

TEST_F(TaxAuthorityGridTest, TheOnlyRowWithoutAuthorityGoesWhenTheGridLosesTheFocus) {
  grid.Focus();
  EXPECT_TRUE(grid.LeaveGrid());
  EXPECT_EQ(0, grid.RowsCount());
  EXPECT_EQ("", company.shownErrors());
}

TEST_F(TaxAuthorityGridTest, AHalfEnteredRowStaysAndAsksForItsAuthority) {
  grid.Focus();
  ASSERT_TRUE(grid.EditCell(kOperation, 0, "Update"));
  EXPECT_FALSE(grid.LeaveGrid()) << "leaving the grid";
  EXPECT_EQ((Cells{"Update", "", "1", "1", "No"}), Row(0));
  EXPECT_TRUE(grid.Focused());
  EXPECT_EQ(kBlankAuthority, company.shownErrors());

  ASSERT_TRUE(grid.EditCell(kAuthority, 0, "GST"));
  grid.PressKey(GridControl::kKeyInsert);
  ASSERT_TRUE(grid.EditCell(kOperation, 1, "Delete"));
  EXPECT_FALSE(grid.MoveToRow(0)) << "leaving the row";
  EXPECT_EQ((std::vector<std::string>{"GST", ""}), Authorities());
}

TEST_F(TaxAuthorityGridTest, ABlankInsertedRowKeepsTheFocusWhenLeftFromAnotherRow) {
  EnterRows({"GST"});
  grid.PressKey(GridControl::kKeyInsert);
  grid.GoToCell(kOperation, 0, true);
  EXPECT_FALSE(grid.LeaveGrid());
  EXPECT_TRUE(grid.Focused());
  EXPECT_EQ(kBlankAuthority, company.shownErrors());
}

TEST_F(TaxAuthorityGridTest, AValidatedInsertedRowEndsInsertModeOnFocusLoss) {
  EnterRows({"GST"});
  EXPECT_TRUE(grid.LeaveGrid());
  EXPECT_FALSE(mapping.InsertMode());
  EXPECT_EQ(1, grid.RowsCount());
}

TEST_F(TaxAuthorityGridTest, TheInsertKeyShiftsTheRowsBelowDown) {
  EnterRows({"GST", "PST", "HST"});
  grid.EditCell(kTo, 1, "3");
  ASSERT_TRUE(grid.MoveToRow(0));
  grid.PressKey(GridControl::kKeyInsert);
  EXPECT_EQ((std::vector<std::string>{"GST", "", "PST", "HST"}), Authorities());
  EXPECT_EQ((Cells{"Insert", "PST", "", "3", "No"}), Row(2));
  EXPECT_EQ(1, grid.CurrentRow());
  EXPECT_EQ(1, mapping.InsertedRow());
}

TEST_F(TaxAuthorityGridTest, TheInsertKeyAddsNothingWhileTheInsertedRowIsBlank) {
  grid.Focus();
  grid.PressKey(GridControl::kKeyInsert);
  EXPECT_EQ(1, grid.RowsCount());
  EXPECT_EQ(kBlankAuthority, company.shownErrors());
}

TEST_F(TaxAuthorityGridTest, TheDeleteKeyDeletesTheCurrentRowAndStaysInPlace) {
  EnterRows({"GST", "PST", "HST"});
  ASSERT_TRUE(grid.MoveToRow(1));
  grid.PressKey(GridControl::kKeyDelete);
  EXPECT_EQ((std::vector<std::string>{"GST", "HST"}), Authorities());
  EXPECT_EQ(1, grid.CurrentRow());
  grid.PressKey(GridControl::kKeyDelete);
  EXPECT_EQ(0, grid.CurrentRow());
}

TEST_F(TaxAuthorityGridTest, ARefusedCellGetsItsPreviousValueBack) {
  auto check = [this](const char* name, int column, const char* typed, const char* cell,
                      const char* shown) {
    GridControl rows;
    TaxAuthorityGrid taxes{[this] { return company.newErrorDisplay(); }};
    ItemTaxes(rows, taxes);
    EnterRows({"PST"}, &rows);
    NewlyShown();
    rows.SetCellData(kOperation, 0, "Update");
    rows.SetCellData(kFrom, 0, "1");
    rows.EditCell(column, 0, typed);
    EXPECT_EQ(cell, rows.GetCellData(column, 0)) << name;
    EXPECT_EQ(shown, NewlyShown()) << name;
  };
  check("AuthorityAcceptedUpperCased", kAuthority, "hst", "HST", "");
  check("BlankAuthority", kAuthority, "", "PST", kBlankAuthority);
  check("UnknownAuthority", kAuthority, "xyz", "PST",
        "Error: Invalid input. Tax Authority XYZ does not exist.\n");
  check("ClassAccepted", kFrom, "3", "3", "");
  check("UnknownFromClass", kFrom, "9", "1", "Error: Invalid input. Tax Class 9 does not exist.\n");
  check("UnknownToClass", kTo, "7", "1", "Error: Invalid input. Tax Class 7 does not exist.\n");
}

// PST class 4 exists for sales item classes only, so a class check that ignores the column's
// class type or axis, or swaps them, lets it through in the wrong column or refuses it here.
TEST_F(TaxAuthorityGridTest, AClassCountsOnlyForTheClassTypeAndAxisOfItsColumn) {
  auto check = [&](const char* name, std::int16_t type, std::int16_t axis, const char* cell) {
    GridControl other;
    TaxAuthorityGrid columns{[this] { return company.newErrorDisplay(); }};
    columns.Grid(&other);
    columns.adsTXAUTH(authorities.get());
    columns.adsTXCLASS(classes.get());
    const int to = columns.AddToTaxClassColumn("To Tax Class", 99, type, axis);
    other.Focus();
    other.EditCell(kAuthority, 0, "PST");
    other.EditCell(to, 0, "4");
    EXPECT_EQ(cell, other.GetCellData(to, 0)) << name;
  };
  check("SalesItem", 1, 2, "4");
  check("PurchasesItem", 2, 2, "1");
  check("SalesCustomer", 1, 1, "1");
  const std::string refused = "Error: Invalid input. Tax Class 4 does not exist.\n";
  EXPECT_EQ(refused + refused, company.shownErrors());
}

TEST_F(TaxAuthorityGridTest, TheOperationEditorListsTheOperationsInTheirOrder) {
  EnterRows({"PST"});
  host::FieldEditControl* editor = grid.BeginEdit(kOperation, 0);
  ASSERT_NE(nullptr, editor);
  std::vector<std::string> texts;
  for (const auto& choice : editor->AccpacField().Standalone()->PresentationList()) {
    texts.push_back(choice.text);
  }
  EXPECT_EQ((std::vector<std::string>{"Insert", "Update", "Delete"}), texts);
  grid.CancelEdit();
}

TEST_F(TaxAuthorityGridTest, NoOperationsIsReportedWithTheMappingsName) {
  mapping.Name("Item Taxes");
  EXPECT_FALSE(mapping.ValidateOperations());
  EXPECT_EQ((std::vector<std::string>{
                "Incorrect procedure. There are no operations to perform on Item Taxes."}),
            company.errorTexts());
  EXPECT_EQ("", company.shownErrors());
  EnterRows({"GST"});
  EXPECT_TRUE(mapping.ValidateOperations());
}

}  // namespace
}  // namespace grids
