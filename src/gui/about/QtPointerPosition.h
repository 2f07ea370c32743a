#pragma once

#include "about/Pointer.h"

#include <QPointer>
#include <QWidget>

namespace gui {

/// The mouse pointer as the platform reports it, relative to the window being shown.
class QtPointerPosition : public about::PointerPosition {
 public:
  /// Measures from `window`'s client area from now on; nullptr measures from the screen.
  void SetWindow(QWidget* window) { window_ = window; }
  about::Point Position() const override;

 private:
  QPointer<QWidget> window_;
};

}  // namespace gui
