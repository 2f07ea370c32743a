#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace app {

/// Where one control lies in the window, in twips, and the Tag that tells how it follows a resize.
struct ControlBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::string tag{};
  /// The frame the control lies in; its position is then the frame's. Empty for the frames
  /// (which lie on the tab control) and the window's own controls.
  std::string container{};
};

/// The main window's size and the positions of its controls, as the resize rules see them.
struct WindowGeometry {
  std::int32_t height = 0;
  std::int32_t width = 0;
  bool minimised = false;
  std::int32_t LastHeight = 0;
  std::int32_t LastWidth = 0;
  std::int32_t MinHeight = 0;
  std::int32_t MinWidth = 0;
  std::map<std::string, ControlBox> controls;
};

/// Moves and stretches the controls after the window was resized; the first resize only records
/// the smallest size the window may take.
void DoResize(WindowGeometry& window);

}  // namespace app
