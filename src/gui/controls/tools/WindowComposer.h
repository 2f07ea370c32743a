#pragma once

#include <QImage>

#include <vector>

class QWidget;

namespace gui::controls::tools {

/// The windows as a desktop would show them, each at its place on the screen: a plain frame
/// with its title around a top-level window, a pop-up as it is, later windows over earlier ones.
/// The offscreen platform draws no frames of its own, and a dialog cannot be grabbed with the
/// window under it.
QImage ComposeWindows(const std::vector<QWidget*>& windows);

}  // namespace gui::controls::tools
