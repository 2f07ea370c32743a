#pragma once

#include <QRect>

class QWidget;

namespace app {
struct ControlBox;
}

namespace gui {

/// Converts the layout's twips to device-independent pixels of a window and back. Twips are
/// 1440 per logical inch; the layout was drawn for an 8-point MS Sans Serif, so where the
/// platform's font is larger the twips grow with it, as a dialog's units do, and no caption is
/// clipped. At a font of that size and 96 dpi 15 twips are one pixel.
class TwipsScale {
 public:
  /// The scale of `widget`'s screen and font.
  explicit TwipsScale(const QWidget& widget);
  /// A scale of `pixelsPerInchX` by `pixelsPerInchY`, for tests of the arithmetic.
  TwipsScale(double pixelsPerInchX, double pixelsPerInchY)
      : perInchX_(pixelsPerInchX), perInchY_(pixelsPerInchY) {}

  int X(int twips) const;
  int Y(int twips) const;
  /// The control's rectangle in pixels.
  QRect Rect(const app::ControlBox& box) const;
  /// A width in pixels as twips.
  int TwipsX(int pixels) const;
  /// A height in pixels as twips.
  int TwipsY(int pixels) const;

 private:
  double perInchX_;
  double perInchY_;
};

}  // namespace gui
