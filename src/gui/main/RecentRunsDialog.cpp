#include "gui/main/RecentRunsDialog.h"

#include "gui/controls/QtText.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace gui {
namespace {

enum Column { kWhen, kTab, kRun, kCounts, kFinished, kColumns };

/// The local time the run started, without the offset from UTC that the change file adds.
std::string WhenText(const std::string& started) {
  std::string when = started.substr(0, 19);
  if (when.size() > 10 && when[10] == 'T') when[10] = ' ';
  return when;
}

std::string FinishedText(const convert::RunRecord& run) {
  if (!run.problem.empty()) return "cannot be read: " + run.problem;
  return run.finished ? "Yes" : "No";
}

/// A log shown in a window of its own, read-only, with its text in a fixed-width font.
void ShowLog(QWidget* parent, const std::string& title, const std::string& text) {
  QDialog viewer(parent);
  viewer.setWindowTitle(controls::ToQt(title));
  auto* layout = new QVBoxLayout(&viewer);
  auto* log = new QPlainTextEdit(controls::ToQt(text), &viewer);
  log->setReadOnly(true);
  log->setLineWrapMode(QPlainTextEdit::NoWrap);
  log->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(log);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &viewer);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &viewer, &QDialog::reject);
  layout->addWidget(buttons);
  viewer.resize(900, 500);
  viewer.exec();
}

}  // namespace

RecentRunsDialog::RecentRunsDialog(app::Form1& form, ChangeCommands& changes, QWidget* parent)
    : QDialog(parent), form_(form), changes_(changes) {
  setWindowTitle(QStringLiteral("Recent Runs"));
  auto* layout = new QVBoxLayout(this);
  table_ = new QTableWidget(0, kColumns, this);
  table_->setHorizontalHeaderLabels({QStringLiteral("When"), QStringLiteral("Tab"),
                                     QStringLiteral("Run"), QStringLiteral("Records"),
                                     QStringLiteral("Finished")});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(kCounts, QHeaderView::Stretch);
  table_->verticalHeader()->hide();
  layout->addWidget(table_);
  auto* buttons = new QDialogButtonBox(this);
  openLog_ = buttons->addButton(QStringLiteral("&Open Log"), QDialogButtonBox::ActionRole);
  undo_ = buttons->addButton(QStringLiteral("&Undo..."), QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Close);
  connect(openLog_, &QPushButton::clicked, this, &RecentRunsDialog::OpenLog);
  connect(undo_, &QPushButton::clicked, this, &RecentRunsDialog::UndoSelected);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
    const int row = SelectedRow();
    openLog_->setEnabled(row >= 0 && !runs_[row].LogFiles("").empty());
    undo_->setEnabled(row >= 0 && runs_[row].problem.empty() &&
                      runs_[row].header.mode != convert::ChangeRunMode::Preview);
  });
  connect(table_, &QTableWidget::cellDoubleClicked, this, &RecentRunsDialog::OpenLog);
  layout->addWidget(buttons);
  resize(900, 400);
  Fill();
}

void RecentRunsDialog::Fill() {
  runs_ = form_.Connection() ? convert::RecentRuns(form_.Connection()->LogFolderOnDisk())
                             : std::vector<convert::RunRecord>{};
  table_->setRowCount(static_cast<int>(runs_.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    const convert::RunRecord& run = runs_[static_cast<std::size_t>(row)];
    const std::string cells[kColumns] = {WhenText(run.header.started), run.header.tab, run.What(),
                                         run.Counts(), FinishedText(run)};
    for (int column = 0; column < kColumns; ++column) {
      auto* item = new QTableWidgetItem(controls::ToQt(cells[column]));
      item->setToolTip(column == kCounts ? controls::ToQt(run.changeFile.string()) : QString());
      table_->setItem(row, column, item);
    }
  }
  table_->resizeColumnsToContents();
  openLog_->setEnabled(false);
  undo_->setEnabled(false);
  if (!runs_.empty()) table_->selectRow(0);
}

int RecentRunsDialog::SelectedRow() const {
  const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
  if (ranges.isEmpty() || ranges.front().topRow() >= static_cast<int>(runs_.size())) return -1;
  return ranges.front().topRow();
}

std::string RecentRunsDialog::LogText(int row) const {
  const convert::RunRecord& run = runs_.at(static_cast<std::size_t>(row));
  std::string text;
  for (const std::filesystem::path& file : run.LogFiles(form_.Connection()->LogFolderOnDisk())) {
    text += "==== " + file.string() + "\n";
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      text += "(the log file is not there)\n";
      continue;
    }
    std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    log.erase(std::remove(log.begin(), log.end(), '\r'), log.end());
    text += log + "\n";
  }
  return text;
}

void RecentRunsDialog::OpenLog() {
  const int row = SelectedRow();
  if (row < 0) return;
  ShowLog(this,
          "Log of the " + runs_[static_cast<std::size_t>(row)].What() + " of " +
              runs_[static_cast<std::size_t>(row)].header.started,
          LogText(row));
}

void RecentRunsDialog::UndoSelected() {
  const int row = SelectedRow();
  if (row < 0) return;
  changes_.ConfirmAndUndo(runs_[static_cast<std::size_t>(row)].changeFile);
  Fill();
}

}  // namespace gui
