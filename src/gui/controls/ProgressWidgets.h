#pragma once

#include "host/ProgressBar.h"
#include "host/Signal.h"
#include "host/WindowControls.h"

#include <QLineEdit>
#include <QProgressBar>

#include <vector>

namespace gui::controls {

/// Keeps a widget's enabled state and visibility those of a window control model; the
/// connections end with the returned handles.
std::vector<host::ScopedConnection> BindWindowControl(QWidget& widget,
                                                      host::WindowControl& control);

/// The run's progress bar, drawn from its model's value between its minimum and maximum.
class ProgressBarWidget : public QProgressBar {
 public:
  /// `bar` must outlive the widget.
  explicit ProgressBarWidget(host::ProgressBar& bar, QWidget* parent = nullptr);

 private:
  void ShowValue();
  void ShowText();

  host::ProgressBar& bar_;
  std::vector<host::ScopedConnection> connections_;
};

/// The processing text box of a run: read-only, drawn from its model.
class TextBoxWidget : public QLineEdit {
 public:
  /// `box` must outlive the widget.
  explicit TextBoxWidget(host::TextBox& box, QWidget* parent = nullptr);

 private:
  host::TextBox& box_;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui::controls
