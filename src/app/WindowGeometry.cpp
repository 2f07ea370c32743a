#include "app/WindowGeometry.h"

namespace app {

void DoResize(WindowGeometry& window) {
  if (window.minimised) return;
  if (window.height <= window.MinHeight) window.height = window.MinHeight;
  if (window.width <= window.MinWidth) window.width = window.MinWidth;
  const std::int32_t dH = window.height - window.LastHeight;
  const std::int32_t dW = window.width - window.LastWidth;
  if (window.LastHeight == 0 || window.LastWidth == 0) {
    window.MinHeight = window.height;
    window.MinWidth = window.width;
  } else {
    for (auto& [name, box] : window.controls) {
      if (box.tag.size() != 4) continue;
      if (box.tag[3] == 'T') (box.tag[1] == 'T' ? box.height : box.top) += dH;
      if (box.tag[2] == 'T') (box.tag[0] == 'T' ? box.width : box.left) += dW;
    }
  }
  window.LastHeight = window.height;
  window.LastWidth = window.width;
}

}  // namespace app
