#include "gui/controls/PaintedIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace gui::controls {
namespace {

QPixmap MagnifyingGlass(int size, qreal scale, const QColor& ink) {
  QPixmap pixmap(static_cast<int>(size * scale), static_cast<int>(size * scale));
  pixmap.setDevicePixelRatio(scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal unit = size / 16.0;
  painter.setPen(QPen(ink, 1.6 * unit));
  painter.drawEllipse(QRectF(2 * unit, 2 * unit, 8 * unit, 8 * unit));
  painter.setPen(QPen(ink, 2.4 * unit, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(9.5 * unit, 9.5 * unit), QPointF(13.5 * unit, 13.5 * unit));
  return pixmap;
}

}  // namespace

QIcon FinderIcon() {
  QIcon icon;
  const QPalette palette = QApplication::palette();
  for (qreal scale : {1.0, 1.5, 2.0, 3.0}) {
    icon.addPixmap(
        MagnifyingGlass(16, scale, palette.color(QPalette::Active, QPalette::ButtonText)),
        QIcon::Normal);
    icon.addPixmap(
        MagnifyingGlass(16, scale, palette.color(QPalette::Disabled, QPalette::ButtonText)),
        QIcon::Disabled);
  }
  return icon;
}

}  // namespace gui::controls
