#pragma once

#include "app/Form1.h"
#include "convert/ChangeUndo.h"
#include "convert/KindCounts.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace gui {

/// What the Preview command shows: per kind the records it would convert, skip and fail, and
/// where the change file with every record's values is.
std::string PreviewSummary(const std::vector<std::pair<std::string, convert::KindCounts>>& kinds,
                           const std::filesystem::path& changeFile);

/// What the Undo command shows when it has ended: per kind the records put back, changed since
/// and refused, the records left alone, and the undo's own change file and log.
std::string UndoSummary(const convert::UndoResult& result, const std::string& logFolder);

/// The window's commands on what a run changes. Preview runs every check of Convert on the
/// current tab and takes the checked kinds' records through the views without saving anything,
/// then tells what each kind would do. Undo a Conversion puts back the values before of every
/// record a chosen change file converted that nobody has changed since.
class ChangeCommands {
 public:
  /// Asks which change file to undo, starting in the given folder; empty when none was chosen.
  using FileChooser = std::function<std::string(const std::string& folder)>;

  /// Commands on `form`, whose message boxes tell the outcome; `parent` owns the undo's
  /// progress dialog. Without `chooseFile` a file dialog asks.
  ChangeCommands(app::Form1& form, QWidget& parent, FileChooser chooseFile = {});

  /// Previews the checked kinds of the current tab.
  void Preview();
  /// Asks for a change file and undoes it once the operator has confirmed; a file that cannot be
  /// undone is refused with the reason before anything is asked.
  void UndoAConversion();
  /// Undoes `file` and tells the outcome; a file that cannot be undone is refused with the
  /// reason and changes nothing.
  void Undo(const std::filesystem::path& file);

 private:
  /// Opens and checks `file` for the signed-on company; shows why and gives nothing when it
  /// cannot be undone.
  std::unique_ptr<convert::ChangeFileToUndo> Open(const std::filesystem::path& file);
  void Undo(convert::ChangeFileToUndo& file);
  void Refuse(const convert::ChangeFileError& error);

  app::Form1& form_;
  QWidget& parent_;
  FileChooser chooseFile_;
};

}  // namespace gui
