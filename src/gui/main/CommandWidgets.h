#pragma once

#include "host/Signal.h"
#include "host/WindowControls.h"

#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QPushButton;

namespace gui {

/// Keeps a check box drawn from its model and turns the operator's click into the model's
/// value and click handler; the connections end with the returned handles.
std::vector<host::ScopedConnection> BindCheckBox(QCheckBox& widget, host::CheckBox& box);

/// Keeps a button drawn from its model (caption with its mnemonic, enabled, visible); a click
/// runs the model's click handler and then `after`.
std::vector<host::ScopedConnection> BindButton(QPushButton& widget, host::CommandButton& button,
                                               std::function<void()> after);

/// Keeps a menu command enabled as its model is; choosing it runs `chosen`.
std::vector<host::ScopedConnection> BindMenuItem(QAction& action, host::MenuItem& item,
                                                 std::function<void()> chosen);

}  // namespace gui
