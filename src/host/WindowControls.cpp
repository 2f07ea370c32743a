#include "host/WindowControls.h"

namespace host {

void CheckBox::SetValue(int value) {
  AssignAndNotify(value_, value, ValueChanged);
  Click();
}

void CheckBox::Click() {
  if (onClick_) onClick_();
}

void CommandButton::Click() {
  if (Enabled() && Visible() && onClick_) onClick_();
}

TabControl::TabControl(std::vector<std::string> captions)
    : captions_(std::move(captions)), enabled_(captions_.size(), true) {}

void TabControl::SetTabEnabled(int tab, bool enabled) {
  std::vector<bool>::reference current = enabled_.at(static_cast<size_t>(tab));
  if (current == enabled) return;
  current = enabled;
  TabEnabledChanged.Emit(tab);
}

}  // namespace host
