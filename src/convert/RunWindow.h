#pragma once

#include "convert/KindControls.h"
#include "host/EventPump.h"
#include "host/MessageBoxes.h"
#include "host/WindowControls.h"
#include "util/Shell.h"

#include <string>

namespace convert {

/// What a conversion run needs of the main window beyond the kinds' controls: the check boxes,
/// the tab control, the pieces that the idle and running states switch, and the window's message
/// boxes, shell and event pump. The main window implements it.
///
/// A range control's label in the range message is its LeftLabel, which start-up sets from the
/// control's Tag, so the kinds' RangeControl look-up serves for it too.
class RunWindow : public KindControls {
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
  /// The message boxes and questions the operator answers.
  virtual host::MessageBoxes& Messages() = 0;
  /// The desktop shell that shows the log folder.
  virtual util::Shell& Shell() = 0;
  /// Lets pending window messages run.
  virtual host::EventPump& Pump() = 0;
};

}  // namespace convert
