#pragma once

#include "gui/main/ChangeCommands.h"

#include "app/Form1.h"
#include "convert/RecentRuns.h"

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTableWidget;

namespace gui {

/// File > Recent Runs...: the runs of the signed-on company, latest first, from their change
/// files (when, tab, conversion, preview or undo, what each kind counted, whether it finished).
/// A run's conversion logs open in a window of the program; a conversion is undone from here
/// as from Undo a Conversion..., after the same check and question.
class RecentRunsDialog : public QDialog {
 public:
  /// The runs in the log folder of `form`'s company; `changes` undoes them.
  RecentRunsDialog(app::Form1& form, ChangeCommands& changes, QWidget* parent = nullptr);

  QTableWidget& Table() const { return *table_; }
  /// The text the log window shows for the run in `row`: each of its logs under its name.
  std::string LogText(int row) const;
  /// Shows the logs of the selected run.
  void OpenLog();
  /// Undoes the selected run, then lists the runs again.
  void UndoSelected();

 private:
  void Fill();
  int SelectedRow() const;

  app::Form1& form_;
  ChangeCommands& changes_;
  std::vector<convert::RunRecord> runs_;
  QTableWidget* table_ = nullptr;
  QPushButton* openLog_ = nullptr;
  QPushButton* undo_ = nullptr;
};

}  // namespace gui
