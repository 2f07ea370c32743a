#pragma once

#include <QIcon>

namespace gui {

/// The program's icon, with a drawing for each size a window or menu asks for.
QIcon ProgramIcon();

}  // namespace gui
