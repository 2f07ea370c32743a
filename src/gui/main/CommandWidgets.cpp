#include "gui/main/CommandWidgets.h"

#include "gui/controls/ProgressWidgets.h"
#include "gui/controls/QtText.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

namespace gui {

std::vector<host::ScopedConnection> BindCheckBox(QCheckBox& widget, host::CheckBox& box) {
  widget.setText(controls::ToQt(box.Caption()));
  widget.setChecked(box.Value() == 1);
  std::vector<host::ScopedConnection> connections = controls::BindWindowControl(widget, box);
  connections.push_back(
      box.ValueChanged.Connect([&widget, &box] { widget.setChecked(box.Value() == 1); }));
  QObject::connect(&widget, &QCheckBox::clicked, &widget,
                   [&box](bool checked) { box.SetValue(checked ? 1 : 0); });
  return connections;
}

std::vector<host::ScopedConnection> BindButton(QPushButton& widget, host::CommandButton& button,
                                               std::function<void()> after) {
  widget.setText(controls::ToQt(button.Caption()));
  std::vector<host::ScopedConnection> connections = controls::BindWindowControl(widget, button);
  connections.push_back(button.CaptionChanged.Connect(
      [&widget, &button] { widget.setText(controls::ToQt(button.Caption())); }));
  QObject::connect(&widget, &QPushButton::clicked, &widget, [&button, after = std::move(after)] {
    button.Click();
    after();
  });
  return connections;
}

std::vector<host::ScopedConnection> BindMenuItem(QAction& action, host::MenuItem& item,
                                                 std::function<void()> chosen) {
  action.setEnabled(item.Enabled());
  std::vector<host::ScopedConnection> connections;
  connections.push_back(
      item.EnabledChanged.Connect([&action, &item] { action.setEnabled(item.Enabled()); }));
  QObject::connect(&action, &QAction::triggered, &action,
                   [chosen = std::move(chosen)] { chosen(); });
  return connections;
}

}  // namespace gui
