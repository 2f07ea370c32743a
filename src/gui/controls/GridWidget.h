#pragma once

#include "gui/controls/ControlServices.h"
#include "gui/controls/FieldEditWidget.h"
#include "gui/controls/GridTableModel.h"

#include "host/Signal.h"
#include "host/controls/GridControl.h"

#include <QPointer>
#include <QTableView>

#include <vector>

namespace gui::controls {

/// The ERP's grid control: the grid's columns (caption, alignment, width) and cells, its current
/// cell, enabled state and focus, drawn from the model whenever it changes. What the operator
/// does becomes the grid's notifications in a real grid's order: focus gained and lost, a
/// click, a row change (which the program may refuse), every key with its code (Insert adds and
/// Delete removes rows where the program allows it; space toggles a tax-included cell), and the
/// editing of a cell in an editor that the program prepares when it opens: F2, Enter, a
/// double-click or typing starts it on an editable column, Enter or leaving commits it, Escape
/// cancels it, F5 or its finder button asks the program for the finder.
class GridWidget : public QTableView {
 public:
  /// `grid` and `services` must outlive the widget.
  GridWidget(host::GridControl& grid, ControlServices& services, QWidget* parent = nullptr);
  ~GridWidget() override;

  host::GridControl& Grid() const { return grid_; }
  /// The open cell editor, or nullptr.
  FieldEditWidget* EditorWidget() const { return editor_; }
  /// Starts editing the current cell, as F2 does.
  void EditCurrentCell();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void updateGeometries() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Connect();
  void ShowCurrentCell();
  void ShowColumns();
  void ShowFocus();
  void ShowEditor();
  void OpenEditor();
  void CloseEditor();
  void PlaceEditor();
  void CommitEditor(const std::string& text, bool focusLost);
  void CancelEditor();
  void Leave();
  void MoveTo(const QModelIndex& target);
  void BeginEdit(int column, int row, const QString& typed);
  bool Navigate(const QKeyEvent& event);
  bool Editable(int column) const;
  void TakeFocusBack();

  host::GridControl& grid_;
  ControlServices& services_;
  GridTableModel model_;
  QPointer<FieldEditWidget> editor_;
  int editColumn_ = -1;
  int editRow_ = -1;
  QString typed_;
  bool showingCurrent_ = false;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui::controls
