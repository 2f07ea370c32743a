#include "gui/controls/GridWidget.h"

#include "gui/controls/tests/GuiFixture.h"

#include "grids/TaxAuthorityGrid.h"
#include "grids/TaxGroupGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <vector>

namespace gui::controls::testing {
namespace {

using Log = std::vector<std::string>;

std::string Cell(int column, int row) {
  return std::to_string(column) + "," + std::to_string(row);
}

/// Writes down the grid's notifications, after the mapping that owns the grid saw them.
class GridRecorder : public host::GridEvents {
 public:
  void OnFocusGained(host::GridControl&) override { log.push_back("focus gained"); }
  void OnFocusLost(host::GridControl&) override { log.push_back("focus lost"); }
  void OnEditorOpens(host::GridControl&, const std::string& field, int column, int row,
                     host::FieldEditControl&) override {
    log.push_back("editor opens " + field + " " + Cell(column, row));
  }
  void OnEditorCloses(host::GridControl&, const std::string& field, int column, int row,
                      host::FieldEditControl&, bool changed) override {
    log.push_back("editor closes " + field + " " + Cell(column, row) +
                  (changed ? " changed" : " unchanged"));
  }
  void OnCellClicked(host::GridControl&, int column, int row) override {
    log.push_back("cell clicked " + Cell(column, row));
  }
  void OnBeforeCellEdit(host::GridControl&, int column, int row, bool& mayEdit) override {
    log.push_back("before cell edit " + Cell(column, row) + (mayEdit ? "" : " refused"));
  }
  void OnKeyPressed(host::GridControl&, int code, int row, int column, const std::string&, bool,
                    bool, bool) override {
    log.push_back("key " + std::to_string(code) + " " + Cell(column, row));
  }
  void OnFinderRequested(host::GridControl&, const std::string& field, int column, int row,
                         host::FieldEditControl&) override {
    log.push_back("finder requested " + field + " " + Cell(column, row));
  }
  void OnRowLeft(host::GridControl&, int row) override {
    log.push_back("row left " + std::to_string(row));
  }
  void OnBeforeRowChange(host::GridControl&, bool&) override { log.push_back("before row change"); }
  Log log;
};

class GridWidgetTest : public GuiFixture {
 protected:
  QPoint CellCentre(int column, int row) const {
    return widget->visualRect(widget->model()->index(row, column)).center();
  }
  void Click(int column, int row) {
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, CellCentre(column, row));
  }
  /// A double-click as the platform delivers it: a click, then the double-click.
  void DoubleClick(int column, int row) {
    Click(column, row);
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, CellCentre(column, row));
  }
  /// Types into the open cell editor and commits with Enter.
  void TypeInEditor(const std::string& text) {
    ASSERT_NE(nullptr, widget->EditorWidget());
    QLineEdit& edit = widget->EditorWidget()->Edit();
    edit.selectAll();
    QTest::keyClicks(&edit, QString::fromStdString(text));
    QTest::keyClick(&edit, Qt::Key_Return);
    Settle();
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> cells;
    for (int row = 0; row < grid.RowsCount(); ++row) cells.push_back(grid.GetCellData(column, row));
    return cells;
  }

  host::GridControl grid;
  GridRecorder recorder;
  std::unique_ptr<GridWidget> widget;
};

/// The from sales tax-group mapping with tax group OLD (GST, PST) accepted.
class TaxGroupGridWidgetTest : public GridWidgetTest {
 protected:
  TaxGroupGridWidgetTest() {
    mapping.Name("Customer Taxes");
    mapping.Grid(&grid);
    mapping.adsTXGRP(groups.get());
    mapping.afecTaxGroup(&control);
    mapping.Caption("From Sales Tax Group");
    mapping.adsTXCLASS(classes.get());
    mapping.AddTaxClassColumn("Tax Class", 90, 1, 1);
    control.Type("OLD");
    control.Leave();
    grid.AddListener(&recorder);
    widget = std::make_unique<GridWidget>(grid, services);
    widget->resize(300, 150);
    widget->show();
  }

  std::unique_ptr<host::DataSource> groups = company.open("TX0003");
  std::unique_ptr<host::DataSource> classes = company.open("TX0001");
  host::FieldEditControl control;
  grids::TaxGroupGrid mapping{[this] { return company.newErrorDisplay(); }};
};

TEST_F(TaxGroupGridWidgetTest, DrawsTheColumnsAndCells) {
  ASSERT_EQ(2, widget->model()->columnCount());
  EXPECT_EQ("Tax Class", widget->model()->headerData(1, Qt::Horizontal).toString().toStdString());
  EXPECT_EQ(160, widget->columnWidth(0)) << "the ERP's width at 96 dpi";
  EXPECT_EQ("PST", widget->model()->index(1, 0).data().toString().toStdString());
  grid.SetCellData(1, 1, "3");
  EXPECT_EQ("3", widget->model()->index(1, 1).data().toString().toStdString());
}

TEST_F(TaxGroupGridWidgetTest, OnlyTheGridWithTheFocusMarksItsCurrentCell) {
  widget->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget.get()));
  Click(1, 1);
  EXPECT_TRUE(widget->selectionModel()->isSelected(widget->model()->index(1, 1)));
  QLineEdit elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();
  elsewhere.setFocus();
  Settle();
  EXPECT_FALSE(widget->selectionModel()->hasSelection());
  EXPECT_EQ(1, grid.CurrentRow()) << "the grid keeps its current cell";
}

struct Edit {
  const char* name;
  std::function<void()> act;
  Log notifications;
  std::string cell;
  bool editState;
  std::string shownError;
};

TEST_F(TaxGroupGridWidgetTest, EditingACellOpensAndClosesTheProgramsEditor) {
  Click(1, 1);
  EXPECT_EQ((Log{"focus gained", "before row change", "row left 0", "cell clicked 1,1"}),
            recorder.log);
  const std::vector<Edit> edits{
      {"typed class",
       [this] { TypeInEditor("2"); },
       {"editor closes CLASS0 1,1 changed"},
       "2",
       false,
       ""},
      {"class that does not exist",
       [this] { TypeInEditor("9"); },
       {"editor closes CLASS0 1,1 changed"},
       "1",
       true,
       "Error: Invalid input. Tax Class 9 does not exist.\n"},
      {"Escape",
       [this] { QTest::keyClick(&widget->EditorWidget()->Edit(), Qt::Key_Escape); },
       {"editor closes CLASS0 1,1 unchanged"},
       "1",
       false,
       ""},
  };
  for (const Edit& edit : edits) {
    SCOPED_TRACE(edit.name);
    grid.SetCellData(1, 1, "1");
    QTest::keyClick(widget.get(), Qt::Key_F2);
    ASSERT_NE(nullptr, widget->EditorWidget());
    EXPECT_FALSE(widget->EditorWidget()->FinderButton().isHidden());
    recorder.log.clear();
    const std::string shownBefore = company.shownErrors();
    edit.act();
    Settle();
    EXPECT_EQ(edit.notifications, recorder.log);
    EXPECT_EQ(edit.cell, grid.GetCellData(1, 1));
    EXPECT_EQ(nullptr, widget->EditorWidget());
    EXPECT_EQ(edit.editState, grid.EditState()) << "the program ends the edit it accepts";
    EXPECT_EQ(edit.shownError, company.shownErrors().substr(shownBefore.size()));
  }
}

TEST_F(TaxGroupGridWidgetTest, ADoubleClickOpensTheEditorAfterTheClick) {
  Click(1, 0);
  recorder.log.clear();
  DoubleClick(1, 1);
  EXPECT_EQ((Log{"before row change", "row left 0", "cell clicked 1,1", "before cell edit 1,1",
                 "editor opens CLASS0 1,1"}),
            recorder.log);
  ASSERT_NE(nullptr, widget->EditorWidget());
  QTest::keyClick(&widget->EditorWidget()->Edit(), Qt::Key_F5);
  EXPECT_EQ("finder requested CLASS0 1,1", recorder.log.back());
  ASSERT_NE(nullptr, widget->EditorWidget()->OpenedFinder());
  EXPECT_EQ(3, widget->EditorWidget()->OpenedFinder()->Table().model()->rowCount())
      << "the classes of PST, sales, axis 1";
}

/// The A/R item taxes mapping: operations, authority, from and to class, tax included.
class TaxAuthorityGridWidgetTest : public GridWidgetTest {
 protected:
  TaxAuthorityGridWidgetTest() {
    mapping.Name("A/R Item Taxes");
    mapping.Grid(&grid);
    mapping.adsTXAUTH(authorities.get());
    mapping.adsTXCLASS(classes.get());
    mapping.AddFromTaxClassColumn("From Tax Class", 109, 1, 2);
    mapping.AddToTaxClassColumn("To Tax Class", 99, 1, 2);
    mapping.AddTaxIncludedColumn("Tax Included", 80);
    widget = std::make_unique<GridWidget>(grid, services);
    widget->resize(500, 200);
    widget->show();
  }

  std::unique_ptr<host::DataSource> authorities = company.open("TX0002");
  std::unique_ptr<host::DataSource> classes = company.open("TX0001");
  grids::TaxAuthorityGrid mapping{[this] { return company.newErrorDisplay(); }};
};

TEST_F(TaxAuthorityGridWidgetTest, InsertAndDeleteKeysAddAndRemoveRows) {
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, QPoint(400, 150));
  ASSERT_EQ(1, grid.RowsCount()) << "entering the empty grid adds a row";
  DoubleClick(1, 0);
  TypeInEditor("GST");
  QTest::keyClick(widget.get(), Qt::Key_Insert);
  EXPECT_EQ((std::vector<std::string>{"GST", ""}), Column(1));
  DoubleClick(1, 1);
  TypeInEditor("PST");
  EXPECT_EQ((std::vector<std::string>{"Insert", "Insert"}), Column(0));

  Click(4, 1);
  EXPECT_EQ("Yes", grid.GetCellData(4, 1)) << "PST allows tax included";
  QTest::keyClick(widget.get(), Qt::Key_Space);
  EXPECT_EQ("No", grid.GetCellData(4, 1));
  Click(4, 0);
  EXPECT_EQ("No", grid.GetCellData(4, 0)) << "GST does not allow it";
  EXPECT_NE(std::string::npos, company.shownErrors().find("GST does not allow tax in price."));

  DoubleClick(0, 0);
  ASSERT_NE(nullptr, widget->EditorWidget());
  QComboBox& operations = widget->EditorWidget()->List();
  ASSERT_TRUE(widget->EditorWidget()->ShowsList());
  EXPECT_EQ(3, operations.count());
  operations.hidePopup();
  operations.setCurrentIndex(1);
  emit operations.activated(1);
  Settle();
  EXPECT_EQ((std::vector<std::string>{"Update", "Insert"}), Column(0));
  EXPECT_EQ((std::vector<std::string>{"1", ""}), Column(2)) << "Update matches a from class";

  Click(1, 0);
  QTest::keyClick(widget.get(), Qt::Key_Delete);
  EXPECT_EQ((std::vector<std::string>{"PST"}), Column(1));
}

}  // namespace
}  // namespace gui::controls::testing
