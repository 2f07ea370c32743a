#include "gui/about/QtPointerPosition.h"

#include <QCursor>

namespace gui {

about::Point QtPointerPosition::Position() const {
  const QPoint global = QCursor::pos();
  const QPoint at = window_ ? window_->mapFromGlobal(global) : global;
  return {at.x(), at.y()};
}

}  // namespace gui
