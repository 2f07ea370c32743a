#pragma once

#include <QIcon>

namespace gui::controls {

/// The finder button's magnifying glass, drawn for every screen scale so that it stays sharp.
QIcon FinderIcon();

/// A funnel, for the extra button that opens the filter window.
QIcon FilterIcon();

}  // namespace gui::controls
