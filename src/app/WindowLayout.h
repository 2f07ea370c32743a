#pragma once

#include "app/Layout.h"
#include "app/WindowGeometry.h"

#include <string>
#include <vector>

namespace app {

/// The range pairs of a section, top to bottom as the window shows them.
std::vector<const RangePairDef*> SectionRows(const SectionDef& section);

/// The name under which the "From" label above a section's first column is laid out.
std::string FromLabelOf(const std::string& frame);
/// The name under which the "To" label above a section's second column is laid out.
std::string ToLabelOf(const std::string& frame);

/// The main window as designed, in twips: its size, the tab control, the section frames stacked
/// on their tabs, each frame's check boxes, labels, range and tax-group edit controls and
/// grids, the progress frame and the buttons, every control with its resize Tag.
WindowGeometry LayOutWindow();

}  // namespace app
