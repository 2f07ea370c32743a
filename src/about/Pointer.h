#pragma once

namespace about {

/// A point in the window's units, relative to the window's client area.
struct Point {
  int x = 0;
  int y = 0;
};

/// A control's place in the window's units, relative to the window's client area.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

/// Tells where the mouse pointer is now.
class PointerPosition {
 public:
  virtual ~PointerPosition() = default;
  /// The pointer's current position in the window's units.
  virtual Point Position() const = 0;
};

}  // namespace about
