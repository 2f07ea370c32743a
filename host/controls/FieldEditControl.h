#pragma once

#include "host/controls/AccpacField.h"
#include "host/controls/FieldEditEvents.h"
#include "host/controls/ViewFinder.h"

#include <string>
#include <vector>

namespace host {

/// The ERP's field edit control as the program uses it: a value shown with a caption, bound to
/// a field, with a finder and extra buttons. When a field is bound, the control shows the
/// field's value and a value set by the program goes into the field without verification.
///
/// Operator actions and the notifications they raise:
///   Type(text)        the text goes into the bound field with verification (a refusal raises
///                     HostError and leaves the value as it was), then value changed;
///   Leave()           validation, which a listener may cancel;
///   PressButton(code) extra button pressed with that code.
class FieldEditControl {
 public:
  /// The code an extra button's press is reported with.
  static constexpr int kExtraButtonCode = 6;

  /// Adds a listener; several may listen, each is told in the order added.
  void AddListener(FieldEditEvents* listener);
  void RemoveListener(FieldEditEvents* listener);

  /// The text shown: the bound field's value, or the control's own text when none is bound.
  std::string Value() const;
  /// Sets the value without verification (into the bound field when there is one).
  void SetValue(const std::string& value);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  const std::string& LeftLabel() const { return leftLabel_; }
  void SetLeftLabel(const std::string& label) { leftLabel_ = label; }
  /// Free text kept for the program.
  const std::string& Tag() const { return tag_; }
  void SetTag(const std::string& tag) { tag_ = tag; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }

  /// The field the control edits.
  const host::AccpacField& AccpacField() const { return field_; }
  host::AccpacField& AccpacField() { return field_; }
  void SetAccpacField(host::AccpacField field) { field_ = std::move(field); }

  /// The finder settings, changed in place by the program.
  host::ViewFinder& ViewFinder() { return finder_; }
  const host::ViewFinder& ViewFinder() const { return finder_; }

  const std::string& CurrencyCode() const { return currencyCode_; }
  void SetCurrencyCode(const std::string& code) { currencyCode_ = code; }
  bool UseSysDefForNumber() const { return useSysDefForNumber_; }
  void SetUseSysDefForNumber(bool use) { useSysDefForNumber_ = use; }
  int NumberDecimalsAfter() const { return decimalsAfter_; }
  void SetNumberDecimalsAfter(int digits) { decimalsAfter_ = digits; }
  int NumberDecimalsBefore() const { return decimalsBefore_; }
  void SetNumberDecimalsBefore(int digits) { decimalsBefore_ = digits; }
  int NumberDomain() const { return numberDomain_; }
  void SetNumberDomain(int domain) { numberDomain_ = domain; }
  bool ViewFinderButton() const { return viewFinderButton_; }
  void SetViewFinderButton(bool shown) { viewFinderButton_ = shown; }
  int ControlType() const { return controlType_; }
  void SetControlType(int type) { controlType_ = type; }

  /// Defines extra button `index` with the ERP's button kind and label.
  void DefineButton(int index, int kind, const std::string& label);
  /// Number of extra buttons shown.
  int ButtonCount() const { return buttonCount_; }
  void SetButtonCount(int count) { buttonCount_ = count; }
  /// Label of extra button `index`; empty when it was never defined.
  std::string ButtonLabel(int index) const;

  /// The operator types `text` into the control.
  void Type(const std::string& text);
  /// The operator leaves the control; false when a listener kept the focus in it.
  bool Leave();
  /// The operator presses an extra button reported with `code`.
  void PressButton(int code = kExtraButtonCode);

 private:
  struct Button {
    int index = 0;
    int kind = 0;
    std::string label;
  };

  std::vector<FieldEditEvents*> Listeners() const { return listeners_; }

  std::vector<FieldEditEvents*> listeners_;
  std::string text_;
  std::string caption_;
  std::string leftLabel_;
  std::string tag_;
  bool enabled_ = true;
  bool visible_ = true;
  host::AccpacField field_;
  host::ViewFinder finder_;
  std::string currencyCode_;
  bool useSysDefForNumber_ = false;
  int decimalsAfter_ = 0;
  int decimalsBefore_ = 0;
  int numberDomain_ = 0;
  bool viewFinderButton_ = false;
  int controlType_ = 0;
  std::vector<Button> buttons_;
  int buttonCount_ = 0;
};

}  // namespace host
