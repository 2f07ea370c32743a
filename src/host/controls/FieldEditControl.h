#pragma once

#include "host/Signal.h"
#include "host/WindowControls.h"
#include "host/controls/AccpacField.h"
#include "host/controls/FieldEditEvents.h"
#include "host/controls/ViewFinder.h"

#include <map>
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
///
/// Besides these operator notifications, the signals below announce every change of what the
/// control shows, whoever made it; ValueChanged also follows a bound stand-alone field changed
/// behind the control's back. A view field's record is not watched: its value is announced when
/// it changes through the control.
class FieldEditControl : public WindowControl {
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

  const std::string& LeftLabel() const { return leftLabel_; }
  void SetLeftLabel(const std::string& label) {
    AssignAndNotify(leftLabel_, label, LeftLabelChanged);
  }

  /// The field the control edits.
  const host::AccpacField& AccpacField() const { return field_; }
  void SetAccpacField(host::AccpacField field);

  /// The finder settings, read when the finder opens.
  const host::ViewFinder& ViewFinder() const { return finder_; }
  void SetViewFinder(host::ViewFinder finder) {
    AssignAndNotify(finder_, std::move(finder), FinderChanged);
  }

  const std::string& CurrencyCode() const { return currencyCode_; }
  void SetCurrencyCode(const std::string& code) {
    AssignAndNotify(currencyCode_, code, PresentationChanged);
  }
  bool UseSysDefForNumber() const { return useSysDefForNumber_; }
  void SetUseSysDefForNumber(bool use) {
    AssignAndNotify(useSysDefForNumber_, use, PresentationChanged);
  }
  int NumberDecimalsAfter() const { return decimalsAfter_; }
  void SetNumberDecimalsAfter(int digits) {
    AssignAndNotify(decimalsAfter_, digits, PresentationChanged);
  }
  int NumberDecimalsBefore() const { return decimalsBefore_; }
  void SetNumberDecimalsBefore(int digits) {
    AssignAndNotify(decimalsBefore_, digits, PresentationChanged);
  }
  int NumberDomain() const { return numberDomain_; }
  void SetNumberDomain(int domain) { AssignAndNotify(numberDomain_, domain, PresentationChanged); }
  bool ViewFinderButton() const { return viewFinderButton_; }
  void SetViewFinderButton(bool shown) {
    AssignAndNotify(viewFinderButton_, shown, PresentationChanged);
  }
  int ControlType() const { return controlType_; }
  void SetControlType(int type) { AssignAndNotify(controlType_, type, PresentationChanged); }

  /// Defines extra button `index` with the ERP's button kind and label.
  void DefineButton(int index, int kind, const std::string& label);
  /// Number of extra buttons shown.
  int ButtonCount() const { return buttonCount_; }
  void SetButtonCount(int count) { AssignAndNotify(buttonCount_, count, ButtonsChanged); }
  /// Label of extra button `index`; empty when it was never defined.
  std::string ButtonLabel(int index) const;
  /// Shows extra button `index` as set (pressed in) or not, with `tip` as its tool tip (empty:
  /// its label), so that what the button stands for, such as criteria, shows at a glance.
  void SetButtonState(int index, bool set, const std::string& tip);
  /// Whether extra button `index` shows as set.
  bool ButtonSet(int index) const;
  /// The tool tip of extra button `index`: the one set, else its label.
  std::string ButtonTip(int index) const;

  /// The operator types `text` into the control.
  void Type(const std::string& text);
  /// The operator leaves the control; false when a listener kept the focus in it.
  bool Leave();
  /// The operator presses an extra button reported with `code`.
  void PressButton(int code = kExtraButtonCode);

  /// The text shown changed.
  Signal<> ValueChanged;
  Signal<> LeftLabelChanged;
  /// Another field was bound, or the bound field's definition changed.
  Signal<> FieldChanged;
  Signal<> FinderChanged;
  /// The number format, the finder button or the control type changed.
  Signal<> PresentationChanged;
  /// An extra button was defined, or their count changed.
  Signal<> ButtonsChanged;
  /// An extra button was set or cleared, or its tip changed.
  Signal<> ButtonStateChanged;

 private:
  struct Button {
    int index = 0;
    int kind = 0;
    std::string label;
    bool operator==(const Button&) const = default;
  };
  struct ButtonState {
    bool set = false;
    std::string tip;
    bool operator==(const ButtonState&) const = default;
  };

  std::vector<FieldEditEvents*> Listeners() const { return listeners_; }
  /// Emits ValueChanged when the text shown differs from the one last announced.
  void AnnounceValue();

  std::vector<FieldEditEvents*> listeners_;
  std::string text_;
  std::string shownValue_;
  std::string leftLabel_;
  host::AccpacField field_;
  std::vector<ScopedConnection> fieldConnections_;
  host::ViewFinder finder_;
  std::string currencyCode_;
  bool useSysDefForNumber_ = false;
  int decimalsAfter_ = 0;
  int decimalsBefore_ = 0;
  int numberDomain_ = 0;
  bool viewFinderButton_ = false;
  int controlType_ = 0;
  std::vector<Button> buttons_;
  std::map<int, ButtonState> buttonStates_;
  int buttonCount_ = 0;
};

}  // namespace host
