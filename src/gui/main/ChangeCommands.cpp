#include "gui/main/ChangeCommands.h"

#include "app/Layout.h"
#include "gui/controls/QtText.h"
#include "host/HostError.h"

#include <QApplication>
#include <QFileDialog>
#include <QProgressDialog>

#include <sstream>

namespace gui {
namespace {

/// Records left alone are listed up to this many; a message box longer than a screen helps
/// nobody, and the undo's change file holds every one of them.
constexpr std::size_t kReportsShown = 15;

std::string Title() {
  return app::kProgramTitle;
}

}  // namespace

std::string PreviewSummary(const std::vector<std::pair<std::string, convert::KindCounts>>& kinds,
                           const std::filesystem::path& changeFile) {
  std::ostringstream text;
  text << "Preview. Nothing was saved.\n\n";
  for (const auto& [kind, counts] : kinds) {
    text << kind << ": " << counts.records << " selected, " << counts.updated << " would convert, "
         << counts.skipped << " would skip, " << counts.failed << " would fail\n";
  }
  if (kinds.empty()) text << "No kind was previewed.\n";
  if (!changeFile.empty()) text << "\nEvery record's values: " << changeFile.string() << '\n';
  return text.str();
}

std::string UndoSummary(const convert::UndoResult& result, const std::string& logFolder) {
  std::ostringstream text;
  if (!result.undoneRunFinished) text << "The run that wrote this change file did not finish.\n";
  for (const auto& [kind, counts] : result.kinds)
    text << convert::UndoCountsLine(kind, counts) << '\n';
  if (result.kinds.empty()) text << "The change file holds no converted record.\n";
  for (std::size_t i = 0; i < result.reports.size() && i < kReportsShown; ++i) {
    text << result.reports[i] << '\n';
  }
  if (result.reports.size() + result.moreReports > kReportsShown) {
    text << "... and " << result.reports.size() + result.moreReports - kReportsShown
         << " more, listed in the change file.\n";
  }
  if (result.cancelled) text << "The undo was cancelled.\n";
  if (!result.stoppedBy.empty()) text << "The undo stopped there.\n";
  if (result.changeFile.empty()) {
    text << "\nNo change file could be written.\n";
  } else {
    text << "\nChange file: " << result.changeFile.string() << '\n';
  }
  text << "Log file: " << logFolder << '/' << result.logFile << '\n';
  return text.str();
}

namespace {

/// Shows an undo's progress in a progress dialog whose Cancel button stops it.
class UndoProgress : public convert::RunObserver {
 public:
  explicit UndoProgress(QProgressDialog& dialog) : dialog_(dialog) {}
  void RecordsCounted(std::int32_t records) override { dialog_.setMaximum(records); }
  void RecordDone() override { dialog_.setValue(dialog_.value() + 1); }
  void LetEventsRun() override { QApplication::processEvents(); }
  bool CancelRequested() const override { return dialog_.wasCanceled(); }

 private:
  QProgressDialog& dialog_;
};

}  // namespace

ChangeCommands::ChangeCommands(app::Form1& form, QWidget& parent, FileChooser chooseFile)
    : form_(form), parent_(parent), chooseFile_(std::move(chooseFile)) {
  if (!chooseFile_) {
    chooseFile_ = [this](const std::string& folder) {
      return controls::FromQt(QFileDialog::getOpenFileName(
          &parent_, QStringLiteral("Undo a Conversion"), controls::ToQt(folder),
          QStringLiteral("Conversion and undo change files (*_conversion_changes.csv "
                         "*_undo_changes.csv);;All change files (*_changes.csv);;All files (*)")));
    };
  }
}

void ChangeCommands::Preview() {
  app::ConversionRun* run = form_.Run();
  if (!run || run->Running() || !run->PreviewButtonClick()) return;
  form_.Messages().Show(PreviewSummary(run->LastCounts(), run->LastChangeFile()), Title(),
                        host::MessageIcon::Information);
}

void ChangeCommands::UndoAConversion() {
  if (!form_.Connection() || (form_.Run() && form_.Run()->Running())) return;
  const std::string file = chooseFile_(form_.Connection()->LogFolderOnDisk());
  if (file.empty()) return;
  const std::unique_ptr<convert::ChangeFileToUndo> opened = Open(file);
  if (!opened ||
      !form_.Messages().AskYesNo("Put back the values before of every record that " + file +
                                     " converted and that nobody has changed since?",
                                 Title(), host::MessageIcon::Question)) {
    return;
  }
  Undo(*opened);
}

void ChangeCommands::Undo(const std::filesystem::path& file) {
  if (const std::unique_ptr<convert::ChangeFileToUndo> opened = Open(file)) Undo(*opened);
}

std::unique_ptr<convert::ChangeFileToUndo> ChangeCommands::Open(const std::filesystem::path& file) {
  try {
    auto opened = std::make_unique<convert::ChangeFileToUndo>(convert::UndoRequest{.file = file});
    opened->CheckFor(form_, *form_.Connection());
    return opened;
  } catch (const convert::ChangeFileError& error) {
    Refuse(error);
    return nullptr;
  }
}

void ChangeCommands::Refuse(const convert::ChangeFileError& error) {
  form_.Messages().Show(std::string(error.what()) + "\nNothing was changed.", Title(),
                        host::MessageIcon::Critical);
}

void ChangeCommands::Undo(convert::ChangeFileToUndo& file) {
  host::AccpacConnection& connection = *form_.Connection();
  convert::UndoResult result;
  {
    QProgressDialog progress(QStringLiteral("Undoing a conversion..."), QStringLiteral("Cancel"), 0,
                             0, &parent_);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setValue(0);
    UndoProgress observer(progress);
    try {
      result = convert::UndoChangeFile(file, connection, form_.DataSources(), observer);
    } catch (const convert::ChangeFileError& error) {
      progress.reset();
      Refuse(error);
      return;
    } catch (const host::HostError& error) {
      // Data sources the undo cannot open: nothing was changed, and the ERP says why.
      progress.reset();
      connection.PutError(error.what());
      connection.ShowErrors();
      return;
    }
  }
  form_.Messages().Show(
      UndoSummary(result, connection.LogFolderOnDisk()), Title(),
      result.Whole() ? host::MessageIcon::Information : host::MessageIcon::Exclamation);
}

}  // namespace gui
