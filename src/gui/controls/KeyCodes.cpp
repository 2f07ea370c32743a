#include "gui/controls/KeyCodes.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace gui::controls {

int ErpKeyCode(const QKeyEvent& event) {
  const int key = event.key();
  // Letters, digits and the space bar have the same codes in both.
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
      key == Qt::Key_Space) {
    return key;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  static constexpr std::array<std::pair<int, int>, 15> kCodes{{
      {Qt::Key_Backspace, 8},
      {Qt::Key_Tab, 9},
      {Qt::Key_Return, 13},
      {Qt::Key_Enter, 13},
      {Qt::Key_Escape, 27},
      {Qt::Key_PageUp, 33},
      {Qt::Key_PageDown, 34},
      {Qt::Key_End, 35},
      {Qt::Key_Home, 36},
      {Qt::Key_Left, 37},
      {Qt::Key_Up, 38},
      {Qt::Key_Right, 39},
      {Qt::Key_Down, 40},
      {Qt::Key_Insert, 45},
      {Qt::Key_Delete, 46},
  }};
  for (const auto& [qtKey, code] : kCodes) {
    if (key == qtKey) return code;
  }
  return 0;
}

}  // namespace gui::controls
