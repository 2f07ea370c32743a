#include "gui/controls/PaintedIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPolygonF>

namespace gui::controls {
namespace {

using Drawing = void (*)(QPainter& painter, qreal unit, const QColor& ink);

void MagnifyingGlass(QPainter& painter, qreal unit, const QColor& ink) {
  painter.setPen(QPen(ink, 1.6 * unit));
  painter.drawEllipse(QRectF(2 * unit, 2 * unit, 8 * unit, 8 * unit));
  painter.setPen(QPen(ink, 2.4 * unit, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(9.5 * unit, 9.5 * unit), QPointF(13.5 * unit, 13.5 * unit));
}

void Funnel(QPainter& painter, qreal unit, const QColor& ink) {
  const QPolygonF funnel({QPointF(2 * unit, 3 * unit), QPointF(14 * unit, 3 * unit),
                          QPointF(9.5 * unit, 8.5 * unit), QPointF(9.5 * unit, 13.5 * unit),
                          QPointF(6.5 * unit, 12 * unit), QPointF(6.5 * unit, 8.5 * unit)});
  painter.setPen(QPen(ink, 1.2 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(ink);
  painter.drawPolygon(funnel);
}

QPixmap Paint(Drawing draw, qreal scale, const QColor& ink) {
  constexpr int kSize = 16;
  QPixmap pixmap(static_cast<int>(kSize * scale), static_cast<int>(kSize * scale));
  pixmap.setDevicePixelRatio(scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, kSize / 16.0, ink);
  return pixmap;
}

/// The drawing at every common screen scale, in the palette's button ink; a button that is set
/// (checked) draws it in the highlight colour, so that its state shows at a glance.
QIcon Painted(Drawing draw) {
  QIcon icon;
  const QPalette palette = QApplication::palette();
  for (qreal scale : {1.0, 1.5, 2.0, 3.0}) {
    for (QIcon::State state : {QIcon::Off, QIcon::On}) {
      const QColor ink = state == QIcon::On ? palette.color(QPalette::Active, QPalette::Highlight)
                                            : palette.color(QPalette::Active, QPalette::ButtonText);
      icon.addPixmap(Paint(draw, scale, ink), QIcon::Normal, state);
      icon.addPixmap(Paint(draw, scale, palette.color(QPalette::Disabled, QPalette::ButtonText)),
                     QIcon::Disabled, state);
    }
  }
  return icon;
}

}  // namespace

QIcon FinderIcon() {
  return Painted(&MagnifyingGlass);
}

QIcon FilterIcon() {
  return Painted(&Funnel);
}

}  // namespace gui::controls
