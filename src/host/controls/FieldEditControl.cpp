#include "host/controls/FieldEditControl.h"

#include "host/HostError.h"

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
  AnnounceValue();
}

void FieldEditControl::AnnounceValue() {
  std::string shown;
  try {
    shown = Value();
  } catch (const HostError&) {
    // A view field whose data source cannot be read now shows nothing new.
    return;
  }
  AssignAndNotify(shownValue_, std::move(shown), ValueChanged);
}

void FieldEditControl::SetAccpacField(host::AccpacField field) {
  if (field == field_) return;
  field_ = std::move(field);
  fieldConnections_.clear();
  if (StandaloneField* standalone = field_.Standalone()) {
    fieldConnections_.push_back(standalone->ValueChanged.Connect([this] { AnnounceValue(); }));
    fieldConnections_.push_back(standalone->DefinitionChanged.Connect([this] {
      FieldChanged.Emit();
      AnnounceValue();
    }));
  }
  FieldChanged.Emit();
  AnnounceValue();
}

void FieldEditControl::DefineButton(int index, int kind, const std::string& label) {
  const Button defined{index, kind, label};
  auto same = [index](const Button& button) { return button.index == index; };
  auto button = std::find_if(buttons_.begin(), buttons_.end(), same);
  if (button == buttons_.end()) {
    buttons_.push_back(defined);
  } else if (*button == defined) {
    return;
  } else {
    *button = defined;
  }
  ButtonsChanged.Emit();
}

std::string FieldEditControl::ButtonLabel(int index) const {
  for (const Button& button : buttons_) {
    if (button.index == index) return button.label;
  }
  return {};
}

void FieldEditControl::SetButtonState(int index, bool set, const std::string& tip) {
  AssignAndNotify(buttonStates_[index], ButtonState{set, tip}, ButtonStateChanged);
}

bool FieldEditControl::ButtonSet(int index) const {
  const auto found = buttonStates_.find(index);
  return found != buttonStates_.end() && found->second.set;
}

std::string FieldEditControl::ButtonTip(int index) const {
  const auto found = buttonStates_.find(index);
  if (found == buttonStates_.end() || found->second.tip.empty()) return ButtonLabel(index);
  return found->second.tip;
}

void FieldEditControl::Type(const std::string& text) {
  if (field_.IsBound()) {
    field_.PutWithVerification(text);
  } else {
    text_ = text;
  }
  AnnounceValue();
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
