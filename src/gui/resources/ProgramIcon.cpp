#include "gui/resources/ProgramIcon.h"

namespace gui {

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/ordavel/icons/ordavel-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace gui
