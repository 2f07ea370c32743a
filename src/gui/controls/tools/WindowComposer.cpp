#include "gui/controls/tools/WindowComposer.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace gui::controls::tools {
namespace {

constexpr int kMargin = 16;
constexpr int kShadow = 4;

bool IsPopup(const QWidget& window) {
  return window.windowType() == Qt::Popup || window.windowType() == Qt::ToolTip;
}

int TitleHeight(const QWidget& window) {
  return window.fontMetrics().height() + 10;
}

QRect ContentOf(const QWidget& window) {
  return QRect(window.mapToGlobal(QPoint(0, 0)), window.size());
}

QRect FrameOf(const QWidget& window) {
  const QRect content = ContentOf(window);
  if (IsPopup(window)) return content;
  return content.adjusted(-1, -TitleHeight(window) - 1, 1, 1);
}

void DrawFrame(QPainter& painter, const QWidget& window) {
  const QRect frame = FrameOf(window);
  painter.fillRect(frame.translated(kShadow, kShadow), QColor(0, 0, 0, 60));
  if (IsPopup(window)) return;
  const QPalette palette = window.palette();
  painter.fillRect(frame, palette.color(QPalette::Highlight));
  painter.setPen(palette.color(QPalette::HighlightedText));
  QFont title = window.font();
  title.setBold(true);
  painter.setFont(title);
  const QRect bar(frame.left() + 8, frame.top() + 1, frame.width() - 16, TitleHeight(window));
  painter.drawText(bar, Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
}

}  // namespace

QImage ComposeWindows(const std::vector<QWidget*>& windows) {
  QRect area;
  for (const QWidget* window : windows) area |= FrameOf(*window).adjusted(0, 0, kShadow, kShadow);
  area.adjust(-kMargin, -kMargin, kMargin, kMargin);
  const qreal scale = windows.front()->devicePixelRatioF();
  QImage image(area.size() * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(QColor(0x6b, 0x7f, 0x91));
  QPainter painter(&image);
  painter.translate(-area.topLeft());
  for (QWidget* window : windows) {
    DrawFrame(painter, *window);
    painter.drawPixmap(ContentOf(*window).topLeft(), window->grab());
  }
  return image;
}

}  // namespace gui::controls::tools
