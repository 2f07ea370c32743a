#include "host/WindowControls.h"

namespace host {

void CheckBox::SetValue(int value) {
  value_ = value;
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

}  // namespace host
