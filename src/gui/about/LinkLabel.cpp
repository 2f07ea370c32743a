#include "gui/about/LinkLabel.h"

#include "gui/controls/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace gui {

LinkLabel::LinkLabel(about::LinkBox& link, QWidget* parent) : QLabel(parent), link_(link) {
  setTextInteractionFlags(Qt::NoTextInteraction);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
  setForegroundRole(QPalette::Link);
  setText(controls::ToQt(link_.Text()));
  ShowFont();
  connections_.push_back(
      link_.TextChanged.Connect([this] { setText(controls::ToQt(link_.Text())); }));
  connections_.push_back(link_.UnderlinedChanged.Connect([this] { ShowFont(); }));
}

void LinkLabel::ShowFont() {
  // Only the underline is set here: family and size keep following the window's font, so a new
  // window font gives a fresh underlined copy of itself.
  QFont underline;
  underline.setUnderline(link_.Underlined());
  setFont(underline);
}

void LinkLabel::PointerMoved() {
  // The link's timer compares the pointer with where the link is now, in the window's pixels;
  // the last pixel row and column still belong to the link.
  const QPoint topLeft = mapTo(window(), QPoint(0, 0));
  link_.SetBounds({topLeft.x(), topLeft.y(), width() - 1, height() - 1});
  link_.MouseMove();
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  PointerMoved();
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
  QLabel::mouseMoveEvent(event);
  PointerMoved();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    link_.Click();
  }
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
      event->key() == Qt::Key_Space) {
    link_.Click();
    return;
  }
  QLabel::keyPressEvent(event);
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
  QLabel::focusInEvent(event);
  link_.GotFocus();
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
  QLabel::focusOutEvent(event);
  link_.LostFocus();
}

void LinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  // A label draws no focus of its own; without this frame a keyboard user cannot see which link
  // Enter would open.
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = contentsRect();
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace gui
