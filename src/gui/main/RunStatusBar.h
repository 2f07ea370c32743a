#pragma once

#include "app/Form1.h"
#include "host/Signal.h"

#include <QLabel>

#include <vector>

namespace gui {

/// The text of the main window's status bar, on two lines from the start so that the window
/// keeps its height: company and user, and after each run or preview what its kinds counted,
/// the log folder and the change file. The whole text is also its tool tip, one part a line,
/// since a narrow window cuts it short.
class RunStatusLabel : public QLabel {
 public:
  /// A label on a loaded `form`, which must outlive it.
  explicit RunStatusLabel(app::Form1& form, QWidget* parent = nullptr);

 private:
  void ShowStatus();

  app::Form1& form_;
  host::ScopedConnection runEnded_;
};

}  // namespace gui
