#include "host/controls/FieldEditControl.h"

#include <algorithm>

namespace host {

void FieldEditControl::AddListener(FieldEditEvents* listener) {
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void FieldEditControl::RemoveListener(FieldEditEvents* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

std::string FieldEditControl::Value() const {
  return field_.IsBound() ? field_.Text() : text_;
}

void FieldEditControl::SetValue(const std::string& value) {
  if (field_.IsBound()) {
    field_.PutWithoutVerification(value);
  } else {
    text_ = value;
  }
}

void FieldEditControl::DefineButton(int index, int kind, const std::string& label) {
  for (Button& button : buttons_) {
    if (button.index == index) {
      button = {index, kind, label};
      return;
    }
  }
  buttons_.push_back({index, kind, label});
}

std::string FieldEditControl::ButtonLabel(int index) const {
  for (const Button& button : buttons_) {
    if (button.index == index) return button.label;
  }
  return {};
}

void FieldEditControl::Type(const std::string& text) {
  if (field_.IsBound()) {
    field_.PutWithVerification(text);
  } else {
    text_ = text;
  }
  for (FieldEditEvents* listener : Listeners()) listener->OnValueChanged(*this);
}

bool FieldEditControl::Leave() {
  bool cancel = false;
  for (FieldEditEvents* listener : Listeners()) listener->OnValidate(*this, cancel);
  return !cancel;
}

void FieldEditControl::PressButton(int code) {
  for (FieldEditEvents* listener : Listeners()) listener->OnButtonPressed(*this, code);
}

}  // namespace host
