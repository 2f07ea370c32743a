#pragma once

#include "app/Form1.h"
#include "host/Signal.h"

#include <QLabel>
#include <QStringList>

#include <vector>

namespace gui {

/// The text of the main window's status bar, on two lines from the start so that the window
/// keeps its height: company and user, and after each run or preview what its kinds counted,
/// the log folder and the change file. A line too long for the window ends in an ellipsis, so
/// that nobody reads a cut count as a whole one; the whole text is the tool tip, a part a line.
class RunStatusLabel : public QLabel {
 public:
  /// A label on a loaded `form`, which must outlive it.
  explicit RunStatusLabel(app::Form1& form, QWidget* parent = nullptr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowStatus();
  void ShowLines();

  app::Form1& form_;
  QStringList lines_;
  host::ScopedConnection runEnded_;
};

}  // namespace gui
