#include "gui/controls/FinderDialog.h"

#include "gui/controls/tests/GuiFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <algorithm>

namespace gui::controls::testing {
namespace {

/// The tax classes (36 of them), from HST on.
class FinderDialogTest : public GuiFixture {
 protected:
  FinderDialogTest() {
    settings.ViewID = "TX0001";
    settings.DisplayFieldIDs = {1, 4, 5};
    settings.SearchFieldIDs = {5};
    settings.ReturnFieldIDs = {4};
    settings.InitKeyValue = {std::string("HST")};
  }
  std::vector<std::string> Descriptions(const QAbstractItemModel& rows) const {
    std::vector<std::string> cells;
    for (int row = 0; row < rows.rowCount(); ++row) {
      cells.push_back(rows.index(row, 2).data().toString().toStdString());
    }
    return cells;
  }

  host::ViewFinder settings;
};

TEST_F(FinderDialogTest, ListsAWindowOfPagesThatFollowsTheScrolling) {
  FinderDialog finder(settings, services, nullptr, {5, 4});
  finder.resize(400, 200);
  finder.show();
  QAbstractItemModel& rows = *finder.Table().model();
  EXPECT_EQ("Tax Authority", rows.headerData(0, Qt::Horizontal).toString().toStdString());
  EXPECT_EQ("HST class 1", rows.index(finder.Table().currentIndex().row(), 2).data().toString())
      << "the list starts at the initial key";
  for (int scrolled = 0; scrolled < 8; ++scrolled) finder.Table().scrollToBottom();
  EXPECT_EQ(20, rows.rowCount()) << "at most four pages are held";
  EXPECT_EQ("PST class 3", rows.index(19, 2).data().toString()) << "the last class";
}

TEST_F(FinderDialogTest, SearchesAndPicksWithEnter) {
  FinderDialog finder(settings, services);
  finder.show();
  finder.SearchMode().setCurrentIndex(finder.SearchMode().findText("Contains"));
  QTest::keyClicks(&finder.SearchText(), "class 3");
  QTest::keyClick(&finder.SearchText(), Qt::Key_Return);
  const std::vector<std::string> found = Descriptions(*finder.Table().model());
  EXPECT_EQ(12u, found.size()) << "three authorities, two class types, two axes";
  EXPECT_TRUE(std::all_of(found.begin(), found.end(),
                          [](const std::string& text) { return text.ends_with("class 3"); }));
  EXPECT_EQ(QDialog::Accepted, finder.result()) << "Enter runs the search, then picks";
  EXPECT_EQ("3", finder.ChosenValue());
}

TEST_F(FinderDialogTest, UpAndDownInTheSearchBoxMoveThroughTheListThatEnterPicksFrom) {
  FinderDialog finder(settings, services);
  finder.show();
  const int start = finder.Table().currentIndex().row();
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
    QTest::keyClick(&finder.SearchText(), key);
  }
  ASSERT_EQ(start + 1, finder.Table().currentIndex().row());
  const QString below = finder.Table().model()->index(start + 1, 1).data().toString();
  QTest::keyClick(&finder.SearchText(), Qt::Key_Return);
  EXPECT_EQ(below.toStdString(), finder.ChosenValue());
}

}  // namespace
}  // namespace gui::controls::testing
