#pragma once

#include <QDialog>
#include <QProcess>
#include <QString>

#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace gui {

/// File > Tax-Change Plan...: the operator chooses a plan file and gives the password of its
/// user, then checks it on every company, previews it or converts it with `ordavel-batch
/// --plan`, which signs on to each company; the dialog shows its output while it runs, its
/// table of companies by kinds and what the run came to.
class PlanDialog : public QDialog {
 public:
  /// A dialog that runs `batchProgram`; the file dialog starts in `folder`.
  PlanDialog(QWidget* parent, QString batchProgram, QString folder);
  ~PlanDialog() override;

  /// Sets the plan file and the password, as the operator would type them.
  void SetPlan(const QString& file, const QString& password);
  /// Runs the plan's checks, its preview or its conversion (after the backup question, unless
  /// `confirmed`); returns at once, the run goes on in the background.
  void Check();
  void Preview();
  void Convert(bool confirmed = false);
  /// Whether a run is going on.
  bool Running() const;
  /// Waits until the run has ended, letting events run (tests and screenshots).
  void WaitForRun();
  /// Everything the last run printed.
  const std::string& Output() const { return output_; }

 private:
  void Start(const QStringList& arguments, bool preview, const QString& what);
  void TakeOutput();
  void Finished(int status);
  void ShowTable();
  void Cancel();
  void Browse();
  void EnableButtons();

  QString batchProgram_;
  QString folder_;
  QLineEdit* plan_ = nullptr;
  QLineEdit* password_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPlainTextEdit* log_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* result_ = nullptr;
  QPushButton* check_ = nullptr;
  QPushButton* preview_ = nullptr;
  QPushButton* convert_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* close_ = nullptr;
  QProcess process_;
  std::string output_;
  bool previewing_ = false;
};

/// The `ordavel-batch` beside the program, or in the build tree's batch folder.
QString BatchProgramBeside(const QString& programFolder);

}  // namespace gui
