#pragma once

#include "convert/KindControls.h"
#include "host/DataSource.h"
#include "host/EventPump.h"
#include "host/MessageBoxes.h"
#include "host/ProgressBar.h"
#include "host/WindowControls.h"
#include "util/Shell.h"

#include <chrono>
#include <string>

namespace app {

/// The value of a checked check box.
inline constexpr int kChecked = 1;

/// What a conversion run needs of the main window: the kinds' controls, whose values make the
/// request, the check boxes, the tab control, the pieces that the idle and running states switch,
/// the progress bar and processing box, and the window's message boxes, shell, event pump and
/// data sources. The main window implements it.
class RunWindow : public convert::KindControls {
 public:
  /// A kind's check box, such as `chkCustomers`; an unknown name raises an error.
  virtual host::CheckBox& CheckBoxNamed(const std::string& name) = 0;
  /// The module tabs `SSTab1`: the current tab index and each tab's caption.
  virtual host::TabControl& SSTab1() = 0;
  /// The Help menu `mnuHelp`.
  virtual host::MenuItem& mnuHelp() = 0;
  /// The File menu `mnuFile`.
  virtual host::MenuItem& mnuFile() = 0;
  /// The Close button `cmdClose`.
  virtual host::CommandButton& cmdClose() = 0;
  /// The Convert button `cmdConvert`.
  virtual host::CommandButton& cmdConvert() = 0;
  /// The Cancel button `cmdCancel`, at the Convert button's place.
  virtual host::CommandButton& cmdCancel() = 0;
  /// The progress frame `frmProgress` with the progress bar and the processing box.
  virtual host::WindowControl& frmProgress() = 0;
  /// The progress bar of the progress frame.
  virtual host::ProgressBar& ProgressBar() = 0;
  /// The processing box `txtProcessing` of the progress frame.
  virtual host::TextBox& txtProcessing() = 0;
  /// The message boxes and questions the operator answers.
  virtual host::MessageBoxes& Messages() = 0;
  /// The desktop shell that shows the log folder.
  virtual util::Shell& Shell() = 0;
  /// Lets pending window messages run.
  virtual host::EventPump& Pump() = 0;
  /// Makes the data sources a conversion opens for controls of its own.
  virtual host::DataSourceFactory& DataSources() = 0;
  /// The time now, by which the progress frame is redrawn.
  virtual std::chrono::steady_clock::time_point Now() = 0;
};

}  // namespace app
