#pragma once

#include "gui/controls/ControlServices.h"
#include "gui/controls/FinderTableModel.h"

#include "host/Signal.h"
#include "host/controls/Finder.h"
#include "host/controls/ViewFinder.h"

#include <QDialog>
#include <QTimer>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QTableView;

namespace gui::controls {

/// The finder of an edit control: the records of the finder's view in its order, starting at
/// its initial key, limited by its filter, a page at a time, with a search box over its search
/// fields. Up, Down and the page keys in the search box move through the list. Enter or a
/// double-click picks the record under the cursor; Escape picks nothing. Fields that take one of
/// a list of values show their texts (Active, Yes), and texts that are not keys are searched in
/// any letter case.
class FinderDialog : public QDialog {
 public:
  /// A dialog that lists the first page at once; a view or filter the ERP refuses raises
  /// HostError.
  FinderDialog(const host::ViewFinder& settings, ControlServices& services,
               QWidget* parent = nullptr, host::FinderPaging paging = {});

  /// The return field's value of the record picked; empty until one is picked.
  const std::string& ChosenValue() const { return chosen_; }

  /// Lists the records that match the search box now, without waiting for the typing to pause.
  void Search();
  /// Picks the current record and closes the dialog; nothing happens on an empty list.
  void Choose();

  QTableView& Table() const { return *table_; }
  QLineEdit& SearchText() const { return *searchText_; }
  QComboBox& SearchField() const { return *searchField_; }
  QComboBox& SearchMode() const { return *searchMode_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildSearchRow(host::DataSource& source, const std::vector<int>& fields);
  void SearchFieldChosen();
  void ShowInitialRow();
  void SizeColumns();
  void ReadBeforeWhenNearTop();
  void RememberTopRow(const host::FinderRowsChange& change);
  void KeepTopRow(const host::FinderRowsChange& change);

  ControlServices& services_;
  host::DataSource& source_;
  host::FinderPaging paging_;
  host::Finder finder_;
  FinderTableModel model_;
  QTableView* table_ = nullptr;
  QLineEdit* searchText_ = nullptr;
  QComboBox* searchField_ = nullptr;
  QComboBox* searchMode_ = nullptr;
  QTimer searchDelay_;
  std::string chosen_;
  bool picked_ = false;
  int topRow_ = -1;
  bool readingBefore_ = false;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui::controls
