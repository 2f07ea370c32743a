#pragma once

#include "about/LinkBox.h"
#include "host/Signal.h"

#include <QLabel>

#include <vector>

namespace gui {

/// A web link of the About window drawn from its model: link-coloured, underlined while the
/// model says so, a pointing hand under the pointer. It takes the keyboard focus, and Enter or
/// Space opens it as a click does. It never offers text to select or edit, so no caret ever shows
/// in it.
class LinkLabel : public QLabel {
 public:
  /// `link` must outlive the label.
  explicit LinkLabel(about::LinkBox& link, QWidget* parent = nullptr);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PointerMoved();
  void ShowFont();

  about::LinkBox& link_;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui
