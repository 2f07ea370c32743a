#pragma once

namespace host {

class FieldEditControl;

/// Listener of a field edit control's notifications; every handler does nothing by default.
class FieldEditEvents {
 public:
  virtual ~FieldEditEvents() = default;

  /// The operator leaves the control; setting `cancel` keeps the focus in it.
  virtual void OnValidate(FieldEditControl&, bool& /*cancel*/) {}
  /// An extra button of the control was pressed; `code` tells which (6 for the first one).
  virtual void OnButtonPressed(FieldEditControl&, int /*code*/) {}
  /// The operator changed the value (not raised when the program sets it).
  virtual void OnValueChanged(FieldEditControl&) {}
};

}  // namespace host
