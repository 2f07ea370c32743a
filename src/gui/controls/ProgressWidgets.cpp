#include "gui/controls/ProgressWidgets.h"

#include "gui/controls/QtText.h"

#include <algorithm>
#include <cmath>

namespace gui::controls {
namespace {

/// The bar's steps: the model's single-precision range is drawn in this many.
constexpr int kSteps = 1000;

}  // namespace

std::vector<host::ScopedConnection> BindWindowControl(QWidget& widget,
                                                      host::WindowControl& control) {
  widget.setEnabled(control.Enabled());
  if (!control.Visible()) widget.hide();
  std::vector<host::ScopedConnection> connections;
  connections.push_back(control.EnabledChanged.Connect(
      [&widget, &control] { widget.setEnabled(control.Enabled()); }));
  connections.push_back(control.VisibleChanged.Connect(
      [&widget, &control] { widget.setVisible(control.Visible()); }));
  return connections;
}

ProgressBarWidget::ProgressBarWidget(host::ProgressBar& bar, QWidget* parent)
    : QProgressBar(parent), bar_(bar) {
  setRange(0, kSteps);
  setTextVisible(false);
  connections_.push_back(bar_.ValueChanged.Connect([this] { ShowValue(); }));
  connections_.push_back(bar_.RangeChanged.Connect([this] { ShowValue(); }));
  connections_.push_back(bar_.TextChanged.Connect([this] { ShowText(); }));
  ShowValue();
  ShowText();
}

void ProgressBarWidget::ShowText() {
  // The format is taken literally: a kind's name with a % in it must not become a placeholder.
  QString text = ToQt(bar_.Text());
  setFormat(text.replace(QLatin1Char('%'), QStringLiteral("%%")));
  setTextVisible(!text.isEmpty());
}

void ProgressBarWidget::ShowValue() {
  const float span = bar_.Max() - bar_.Min();
  const float part = span > 0 ? (bar_.Value() - bar_.Min()) / span : 0.0f;
  setValue(static_cast<int>(std::lround(std::clamp(part, 0.0f, 1.0f) * kSteps)));
}

TextBoxWidget::TextBoxWidget(host::TextBox& box, QWidget* parent) : QLineEdit(parent), box_(box) {
  setReadOnly(true);
  setFocusPolicy(Qt::NoFocus);
  setText(ToQt(box_.Text()));
  connections_ = BindWindowControl(*this, box_);
  connections_.push_back(box_.TextChanged.Connect([this] { setText(ToQt(box_.Text())); }));
}

}  // namespace gui::controls
