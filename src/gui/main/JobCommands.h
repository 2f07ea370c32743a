#pragma once

#include "app/Form1.h"

#include <filesystem>
#include <functional>
#include <string>

class QWidget;

namespace gui {

/// The window's commands on `ordavel-batch` job files. Open Job reads a job with the batch's
/// own reader and puts it into the window, or refuses it with every problem at once and changes
/// nothing; Save as Job writes the current tab's set-up as a job that `ordavel-batch` runs with
/// the same results.
class JobCommands {
 public:
  /// Asks for a job file to open or to save, starting in the given folder; empty when none was
  /// chosen.
  using FileChooser = std::function<std::string(const std::string& folder)>;

  /// Commands on `form`, whose message boxes tell what went wrong; without choosers file
  /// dialogs over `parent` ask.
  JobCommands(app::Form1& form, QWidget& parent, FileChooser openFile = {},
              FileChooser saveFile = {});

  /// Asks for a job file and loads it.
  void OpenJob();
  /// Loads `file` into the window; false, with every problem shown, when it was refused.
  bool Load(const std::filesystem::path& file);
  /// Asks where to save the current tab's set-up and saves it there.
  void SaveAsJob();
  /// Writes the current tab's set-up to `file` in one step; false, with the reason shown, when
  /// it could not be written.
  bool Save(const std::filesystem::path& file);

 private:
  void Refuse(const std::filesystem::path& file, const std::string& problems);

  app::Form1& form_;
  QWidget& parent_;
  FileChooser openFile_;
  FileChooser saveFile_;
};

}  // namespace gui
