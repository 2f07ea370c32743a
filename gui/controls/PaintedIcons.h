#pragma once

#include <QIcon>

namespace gui::controls {

/// The finder button's magnifying glass, drawn for every screen scale so that it stays sharp.
QIcon FinderIcon();

}  // namespace gui::controls
