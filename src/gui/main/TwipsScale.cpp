#include "gui/main/TwipsScale.h"

#include "app/WindowGeometry.h"

#include <QFontMetricsF>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace gui {
namespace {

constexpr double kTwipsPerInch = 1440.0;
/// The average character width and the height, in pixels at 96 dpi, of the 8-point MS Sans
/// Serif the layout was drawn for.
constexpr double kDesignCharWidth = 6.0;
constexpr double kDesignCharHeight = 13.0;

double AverageCharWidth(const QFontMetricsF& metrics) {
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return metrics.horizontalAdvance(letters) / static_cast<double>(letters.size());
}

int Round(double value) {
  return static_cast<int>(std::lround(value));
}

}  // namespace

TwipsScale::TwipsScale(const QWidget& widget) {
  const QFontMetricsF metrics(widget.font(), &widget);
  const double dpiX = widget.logicalDpiX();
  const double dpiY = widget.logicalDpiY();
  // The metrics are at the screen's dpi; the design figures at 96.
  const double fontX = std::max(1.0, AverageCharWidth(metrics) * 96.0 / dpiX / kDesignCharWidth);
  const double fontY = std::max(1.0, metrics.height() * 96.0 / dpiY / kDesignCharHeight);
  perInchX_ = dpiX * fontX;
  perInchY_ = dpiY * fontY;
}

int TwipsScale::X(int twips) const {
  return Round(twips * perInchX_ / kTwipsPerInch);
}

int TwipsScale::Y(int twips) const {
  return Round(twips * perInchY_ / kTwipsPerInch);
}

QRect TwipsScale::Rect(const app::ControlBox& box) const {
  const int left = X(box.left);
  const int top = Y(box.top);
  return QRect(left, top, X(box.left + box.width) - left, Y(box.top + box.height) - top);
}

int TwipsScale::TwipsX(int pixels) const {
  return Round(pixels * kTwipsPerInch / perInchX_);
}

int TwipsScale::TwipsY(int pixels) const {
  return Round(pixels * kTwipsPerInch / perInchY_);
}

}  // namespace gui
