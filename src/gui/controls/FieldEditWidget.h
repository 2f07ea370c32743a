#pragma once

#include "gui/controls/ControlServices.h"
#include "gui/controls/FinderDialog.h"

#include "host/Signal.h"
#include "host/controls/FieldEditControl.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace gui::controls {

/// How a grid's cell editor hands what the operator does back to the grid that opened it.
struct CellEditorHooks {
  /// The operator committed `text`; `focusLost` when the focus went elsewhere.
  std::function<void(const std::string& text, bool focusLost)> commit;
  /// The operator left the editor with Escape.
  std::function<void()> cancel;
  /// The operator asked for the finder; the grid tells its program before the finder opens.
  std::function<void()> requestFinder;
};

/// The ERP's field edit control: its left label, an edit box (a drop-down for a field with a
/// presentation list), the finder button and the extra buttons, drawn from the model whenever it
/// changes. What the operator types is committed on Enter or when the focus leaves: the model
/// takes it with verification (a refusal is shown and the old value comes back), then the
/// control is left, which its program may refuse by keeping the focus here. F5 opens the
/// finder; a record picked there is committed as if typed. An extra button reports code 6 and up
/// and shows pressed in, with the model's tip, while the model says it is set.
class FieldEditWidget : public QWidget {
 public:
  /// A control of a window; `control` and `services` must outlive the widget.
  FieldEditWidget(host::FieldEditControl& control, ControlServices& services,
                  QWidget* parent = nullptr);
  /// The cell editor of a grid: no label, and the grid commits what the operator typed.
  FieldEditWidget(host::FieldEditControl& control, ControlServices& services, CellEditorHooks hooks,
                  QWidget* parent);
  ~FieldEditWidget() override;

  host::FieldEditControl& Control() const { return control_; }

  /// Commits what the operator typed, as Enter does.
  void Commit() { Commit(false); }
  /// Opens the finder, as F5 and the finder button do; the grid's program is told first.
  void OpenFinder();
  /// The finder while it is open, else nullptr.
  FinderDialog* OpenedFinder() const { return finder_; }
  /// Stops reaching the grid and the model: the grid has closed this editor.
  void Detach();

  QLabel& Label() const { return *label_; }
  QLineEdit& Edit() const { return *edit_; }
  QComboBox& List() const { return *list_; }
  QToolButton& FinderButton() const { return *finderButton_; }
  /// The extra buttons, by index.
  const std::vector<QToolButton*>& ExtraButtons() const { return extraButtons_; }
  /// Whether the value is chosen from the field's presentation list.
  bool ShowsList() const { return showsList_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Build();
  void Connect();
  bool HandleKey(QKeyEvent& key);
  /// False when the control kept the focus.
  bool Commit(bool focusLost);
  bool CommitToControl();
  void KeepFocus();
  void Pick(const std::string& value);
  QWidget& Input() const;
  std::string InputText() const;
  std::string ShownValue() const;
  void ShowValue();
  void ShowLabel();
  void ShowField();
  void ShowPresentation();
  void ShowButtons();
  void ShowButtonStates();
  void FitButtons();

  host::FieldEditControl& control_;
  ControlServices& services_;
  CellEditorHooks hooks_;
  const bool cellEditor_;
  QLabel* label_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QComboBox* list_ = nullptr;
  QToolButton* finderButton_ = nullptr;
  std::vector<QToolButton*> extraButtons_;
  QPointer<FinderDialog> finder_;
  bool showsList_ = false;
  bool committing_ = false;
  bool committedByTab_ = false;
  bool detached_ = false;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui::controls
