#include "gui/plan/PlanDialog.h"

#include "gui/controls/QtText.h"
#include "gui/plan/PlanOutput.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include <csignal>

namespace gui {
namespace {

QStringList Headers(bool preview) {
  return {QStringLiteral("Company"),
          QStringLiteral("Kind"),
          QStringLiteral("Selected"),
          preview ? QStringLiteral("Would convert") : QStringLiteral("Converted"),
          preview ? QStringLiteral("Would skip") : QStringLiteral("Skipped"),
          QStringLiteral("Not affected"),
          preview ? QStringLiteral("Would fail") : QStringLiteral("Failed")};
}

}  // namespace

QString BatchProgramBeside(const QString& programFolder) {
  const QString beside = QDir(programFolder).filePath(QStringLiteral("ordavel-batch"));
  if (QFileInfo(beside).isExecutable()) return beside;
  // In the build tree the two programs are built in folders of their own.
  return QDir(programFolder).filePath(QStringLiteral("../../batch/ordavel-batch"));
}

PlanDialog::PlanDialog(QWidget* parent, QString batchProgram, QString folder)
    : QDialog(parent), batchProgram_(std::move(batchProgram)), folder_(std::move(folder)) {
  setWindowTitle(QStringLiteral("Tax-Change Plan"));
  auto* fields = new QGridLayout;
  plan_ = new QLineEdit;
  auto* planLabel = new QLabel(QStringLiteral("&Plan file:"));
  planLabel->setBuddy(plan_);
  auto* browse = new QPushButton(QStringLiteral("&Browse..."));
  password_ = new QLineEdit;
  password_->setEchoMode(QLineEdit::Password);
  auto* passwordLabel = new QLabel(QStringLiteral("Pass&word of the plan's user:"));
  passwordLabel->setBuddy(password_);
  fields->addWidget(planLabel, 0, 0);
  fields->addWidget(plan_, 0, 1);
  fields->addWidget(browse, 0, 2);
  fields->addWidget(passwordLabel, 1, 0);
  fields->addWidget(password_, 1, 1);

  table_ = new QTableWidget(0, 7);
  table_->setHorizontalHeaderLabels(Headers(true));
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  log_ = new QPlainTextEdit;
  log_->setReadOnly(true);
  log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  log_->setMaximumBlockCount(2000);
  progress_ = new QProgressBar;
  progress_->setRange(0, 1);
  progress_->setTextVisible(false);
  result_ = new QLabel;
  result_->setObjectName(QStringLiteral("result"));
  result_->setWordWrap(true);
  result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  check_ = new QPushButton(QStringLiteral("C&heck"));
  preview_ = new QPushButton(QStringLiteral("Pre&view"));
  convert_ = new QPushButton(QStringLiteral("&Convert"));
  cancel_ = new QPushButton(QStringLiteral("Cancel"));
  close_ = new QPushButton(QStringLiteral("Close"));
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {check_, preview_, convert_, cancel_}) buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(table_, 3);
  layout->addWidget(log_, 2);
  layout->addWidget(progress_);
  layout->addWidget(result_);
  layout->addLayout(buttons);
  resize(860, 620);

  connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
  connect(check_, &QPushButton::clicked, this, [this] { Check(); });
  connect(preview_, &QPushButton::clicked, this, [this] { Preview(); });
  connect(convert_, &QPushButton::clicked, this, [this] { Convert(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  connect(plan_, &QLineEdit::textChanged, this, [this] { EnableButtons(); });
  connect(&process_, &QProcess::readyReadStandardOutput, this, [this] { TakeOutput(); });
  connect(&process_, &QProcess::finished, this, [this](int status) { Finished(status); });
  connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
      result_->setText(QStringLiteral("%1 could not be started.").arg(batchProgram_));
      Finished(-1);
    }
  });
  process_.setProcessChannelMode(QProcess::MergedChannels);
  EnableButtons();
}

PlanDialog::~PlanDialog() {
  if (!Running()) return;
  // Closing the window stops the run as Ctrl-C would: at its next record.
  Cancel();
  process_.waitForFinished(-1);
}

void PlanDialog::SetPlan(const QString& file, const QString& password) {
  plan_->setText(file);
  password_->setText(password);
}

void PlanDialog::Check() {
  Start({QStringLiteral("--check")}, true, QStringLiteral("Checking the plan on every company..."));
}

void PlanDialog::Preview() {
  Start({QStringLiteral("--preview")}, true,
        QStringLiteral("Previewing: every record is taken through the views, nothing is saved..."));
}

void PlanDialog::Convert(bool confirmed) {
  if (!confirmed && QMessageBox::question(this, windowTitle(),
                                          QStringLiteral("You should back up your databases "
                                                         "before converting tax information. Do "
                                                         "you want to proceed?"),
                                          QMessageBox::Yes | QMessageBox::No,
                                          QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  Start({QStringLiteral("--yes")}, false, QStringLiteral("Converting..."));
}

bool PlanDialog::Running() const {
  return process_.state() != QProcess::NotRunning;
}

void PlanDialog::WaitForRun() {
  while (Running()) {
    process_.waitForFinished(50);
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QApplication::processEvents();
}

void PlanDialog::Start(const QStringList& arguments, bool preview, const QString& what) {
  if (Running() || plan_->text().trimmed().isEmpty()) return;
  output_.clear();
  log_->clear();
  table_->setRowCount(0);
  table_->setHorizontalHeaderLabels(Headers(preview));
  previewing_ = preview;
  result_->setText(what);
  progress_->setRange(0, 0);
  QStringList words{QStringLiteral("--plan"), QFileInfo(plan_->text().trimmed()).absoluteFilePath(),
                    QStringLiteral("--password-fd"), QStringLiteral("0")};
  words += arguments;
  process_.start(batchProgram_, words);
  // The password goes down a pipe: it never stands in a command line or an environment.
  process_.write((password_->text() + QLatin1Char('\n')).toUtf8());
  process_.closeWriteChannel();
  EnableButtons();
}

void PlanDialog::TakeOutput() {
  const QByteArray bytes = process_.readAllStandardOutput();
  output_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  log_->appendPlainText(QString::fromUtf8(bytes).trimmed());
}

void PlanDialog::Finished(int status) {
  TakeOutput();
  progress_->setRange(0, 1);
  progress_->setValue(1);
  ShowTable();
  QString text = status < 0 ? result_->text() : controls::ToQt(PlanStatusText(status, previewing_));
  if (const auto runFile = PlanRunFileOf(output_)) {
    text += QStringLiteral("\nPlan-run file (undo it with ordavel-batch --undo): ") +
            controls::ToQt(*runFile);
  }
  result_->setText(text);
  log_->moveCursor(QTextCursor::End);
  log_->ensureCursorVisible();
  EnableButtons();
}

void PlanDialog::ShowTable() {
  const std::vector<PlanTableRow> rows = PlanTableOf(output_);
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const PlanTableRow& entry = rows[static_cast<std::size_t>(row)];
    table_->setItem(row, 0, new QTableWidgetItem(controls::ToQt(entry.company)));
    table_->setItem(row, 1, new QTableWidgetItem(controls::ToQt(entry.kind)));
    const bool total = entry.company.empty();
    for (int column = 0; column < 5; ++column) {
      auto* cell =
          new QTableWidgetItem(QString::number(entry.counts[static_cast<std::size_t>(column)]));
      cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, column + 2, cell);
    }
    if (total) {
      for (int column = 0; column < table_->columnCount(); ++column) {
        QFont bold = table_->font();
        bold.setBold(true);
        table_->item(row, column)->setFont(bold);
      }
    }
  }
  table_->resizeColumnsToContents();
}

void PlanDialog::Cancel() {
  if (Running()) ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
}

void PlanDialog::Browse() {
  const QString file =
      QFileDialog::getOpenFileName(this, QStringLiteral("Tax-Change Plan"), folder_,
                                   QStringLiteral("Plans (*.plan);;All files (*)"));
  if (!file.isEmpty()) plan_->setText(file);
}

void PlanDialog::EnableButtons() {
  const bool idle = !Running();
  const bool named = !plan_->text().trimmed().isEmpty();
  for (QPushButton* button : {check_, preview_, convert_}) button->setEnabled(idle && named);
  cancel_->setEnabled(!idle);
  close_->setEnabled(idle);
  plan_->setEnabled(idle);
  password_->setEnabled(idle);
}

}  // namespace gui
