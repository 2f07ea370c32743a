#pragma once

class QKeyEvent;

namespace gui::controls {

/// The ERP's code of a pressed key (the platform's virtual-key code the grid reports: 45 Insert,
/// 46 Delete, 32 space, 65 to 90 the letters), or 0 for a key it has no code for.
int ErpKeyCode(const QKeyEvent& event);

}  // namespace gui::controls
