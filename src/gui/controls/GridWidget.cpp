#include "gui/controls/GridWidget.h"

#include "gui/controls/ApplicationLook.h"
#include "gui/controls/KeyCodes.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>

namespace gui::controls {
namespace {

/// How many pixels the columns may overflow the grid before it scrolls rather than fits them.
constexpr int kFitWithin = 16;

bool FocusMovedAway(const QFocusEvent& event) {
  return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

bool StartsTyping(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event.text();
  return !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace();
}

}  // namespace

GridWidget::GridWidget(host::GridControl& grid, ControlServices& services, QWidget* parent)
    : QTableView(parent), grid_(grid), services_(services), model_(grid) {
  setModel(&model_);
  setEditTriggers(NoEditTriggers);
  setSelectionBehavior(SelectItems);
  setSelectionMode(SingleSelection);
  // Tab leaves the grid for the window's next control, as the ERP's grid does.
  setTabKeyNavigation(false);
  setWordWrap(false);
  setFocusPolicy(Qt::StrongFocus);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  Connect();
  ShowColumns();
  ShowCurrentCell();
  setEnabled(grid_.Enabled());
  if (!grid_.Visible()) hide();
}

GridWidget::~GridWidget() {
  connections_.clear();
  if (editor_) editor_->Detach();
}

void GridWidget::Connect() {
  connections_.push_back(grid_.ColumnsChanged.Connect([this] { ShowColumns(); }));
  connections_.push_back(grid_.CurrentCellChanged.Connect([this] { ShowCurrentCell(); }));
  connections_.push_back(grid_.FocusChanged.Connect([this] { ShowFocus(); }));
  connections_.push_back(grid_.EditorChanged.Connect([this] { ShowEditor(); }));
  connections_.push_back(grid_.EnabledChanged.Connect([this] { setEnabled(grid_.Enabled()); }));
  connections_.push_back(grid_.VisibleChanged.Connect([this] { setVisible(grid_.Visible()); }));
  // Starting the table anew loses its current cell; the grid's is shown again.
  connect(&model_, &QAbstractItemModel::modelReset, this, [this] { ShowCurrentCell(); });
}

void GridWidget::ShowColumns() {
  const int count = grid_.ColumnCount();
  int total = 0;
  for (int column = 0; column < count; ++column) {
    const int width = ErpPixels(grid_.Column(column).width, *this);
    horizontalHeader()->resizeSection(column, width);
    total += width;
  }
  // Columns sized for the ERP's borderless grid overflow this one's frame by a few pixels; the
  // last column gives them up rather than bring in a scroll bar.
  const int overflow = total - viewport()->width();
  if (count > 0 && overflow > 0 && overflow <= kFitWithin) {
    const int last = count - 1;
    horizontalHeader()->resizeSection(last, horizontalHeader()->sectionSize(last) - overflow);
  }
}

void GridWidget::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  ShowColumns();
}

void GridWidget::ShowCurrentCell() {
  QScopedValueRollback<bool> guard(showingCurrent_, true);
  const int row = grid_.CurrentRow();
  const int column = grid_.CurrentColumn();
  if (row < 0 || column < 0 || row >= model_.rowCount() || column >= model_.columnCount()) {
    selectionModel()->clear();
    return;
  }
  const QModelIndex cell = model_.index(row, column);
  // Only the grid the operator works in marks its current cell; a highlighted cell in every
  // other grid of the window would leave the operator guessing where typing goes.
  selectionModel()->setCurrentIndex(
      cell, hasFocus() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Clear);
  scrollTo(cell);
}

void GridWidget::ShowFocus() {
  // The program gives the focus back to the grid (after refusing to let the operator leave).
  if (grid_.Focused() && !hasFocus() && !editor_) TakeFocusBack();
}

void GridWidget::TakeFocusBack() {
  QTimer::singleShot(0, this, [this] {
    if (!editor_) setFocus(Qt::OtherFocusReason);
  });
}

void GridWidget::ShowEditor() {
  if (grid_.Editor()) {
    OpenEditor();
  } else {
    CloseEditor();
  }
}

void GridWidget::OpenEditor() {
  CloseEditor();
  editColumn_ = grid_.CurrentColumn();
  editRow_ = grid_.CurrentRow();
  CellEditorHooks hooks;
  hooks.commit = [this](const std::string& text, bool focusLost) { CommitEditor(text, focusLost); };
  hooks.cancel = [this] { CancelEditor(); };
  hooks.requestFinder = [this] { grid_.RequestFinder(); };
  editor_ = new FieldEditWidget(*grid_.Editor(), services_, std::move(hooks), viewport());
  PlaceEditor();
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  if (editor_->ShowsList()) {
    editor_->List().showPopup();
  } else if (!typed_.isEmpty()) {
    editor_->Edit().setText(typed_);
  } else {
    editor_->Edit().selectAll();
  }
}

void GridWidget::CloseEditor() {
  if (!editor_) return;
  FieldEditWidget* editor = editor_;
  editor_ = nullptr;
  editor->Detach();
  // Hiding the focused editor would hand the focus to the window's next control.
  if (editor->isAncestorOf(QApplication::focusWidget())) setFocus(Qt::OtherFocusReason);
  editor->hide();
  // The editor may be in the middle of its own event handler.
  editor->deleteLater();
}

void GridWidget::PlaceEditor() {
  if (!editor_ || editRow_ >= model_.rowCount() || editColumn_ >= model_.columnCount()) return;
  editor_->setGeometry(visualRect(model_.index(editRow_, editColumn_)));
}

void GridWidget::updateGeometries() {
  QTableView::updateGeometries();
  PlaceEditor();
}

void GridWidget::CommitEditor(const std::string& text, bool focusLost) {
  // A refused value closes the editor unchanged; the refusal is shown.
  services_.Run([&] { grid_.CommitEdit(text); });
  if (!focusLost) {
    setFocus(Qt::OtherFocusReason);
    return;
  }
  QWidget* now = QApplication::focusWidget();
  if (now != this && !isAncestorOf(now)) Leave();
}

void GridWidget::CancelEditor() {
  services_.Run([&] { grid_.CancelEdit(); });
  setFocus(Qt::OtherFocusReason);
}

void GridWidget::Leave() {
  bool left = true;
  services_.Run([&] { left = grid_.LeaveGrid(); });
  if (!left) TakeFocusBack();
}

void GridWidget::focusInEvent(QFocusEvent* event) {
  // The item view would make its own first cell current; the grid decides which cell is.
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
  services_.Run([&] { grid_.Focus(); });
  ShowCurrentCell();
}

void GridWidget::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  if (!editor_) selectionModel()->clearSelection();
  if (!FocusMovedAway(*event)) return;
  QWidget* now = QApplication::focusWidget();
  if (now && isAncestorOf(now)) return;
  Leave();
}

bool GridWidget::Editable(int column) const {
  return column >= 0 && column < grid_.ColumnCount() && grid_.Column(column).editable;
}

void GridWidget::BeginEdit(int column, int row, const QString& typed) {
  // Only a column defined editable opens an editor; the program may still refuse it.
  if (!Editable(column) || row < 0) return;
  QScopedValueRollback<QString> text(typed_, typed);
  services_.Run([&] { grid_.BeginEdit(column, row); });
}

void GridWidget::EditCurrentCell() {
  BeginEdit(grid_.CurrentColumn(), grid_.CurrentRow(), {});
}

void GridWidget::MoveTo(const QModelIndex& target) {
  if (!target.isValid()) return;
  services_.Run([&] {
    if (target.row() != grid_.CurrentRow() && !grid_.MoveToRow(target.row())) return;
    // A row the program deleted on the way may have moved the target row up.
    if (grid_.CurrentRow() >= 0) grid_.GoToCell(target.column(), grid_.CurrentRow(), true);
  });
}

bool GridWidget::Navigate(const QKeyEvent& event) {
  CursorAction action;
  switch (event.key()) {
    case Qt::Key_Up:
      action = MoveUp;
      break;
    case Qt::Key_Down:
      action = MoveDown;
      break;
    case Qt::Key_Left:
      action = MoveLeft;
      break;
    case Qt::Key_Right:
      action = MoveRight;
      break;
    case Qt::Key_PageUp:
      action = MovePageUp;
      break;
    case Qt::Key_PageDown:
      action = MovePageDown;
      break;
    case Qt::Key_Home:
      action = MoveHome;
      break;
    case Qt::Key_End:
      action = MoveEnd;
      break;
    default:
      return false;
  }
  MoveTo(moveCursor(action, event.modifiers()));
  return true;
}

void GridWidget::keyPressEvent(QKeyEvent* event) {
  const int code = ErpKeyCode(*event);
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (code != 0) {
    services_.Run([&] {
      grid_.PressKey(code, modifiers & Qt::ShiftModifier, modifiers & Qt::ControlModifier,
                     modifiers & Qt::AltModifier);
    });
  }
  if (Navigate(*event)) return;
  switch (event->key()) {
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      EditCurrentCell();
      return;
    case Qt::Key_F5:
      EditCurrentCell();
      if (editor_) editor_->OpenFinder();
      return;
    default:
      break;
  }
  if (StartsTyping(*event)) {
    BeginEdit(grid_.CurrentColumn(), grid_.CurrentRow(), event->text());
    return;
  }
  event->ignore();
}

void GridWidget::mousePressEvent(QMouseEvent* event) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  const QModelIndex cell = indexAt(event->position().toPoint());
  services_.Run([&] {
    if (cell.isValid() && event->button() == Qt::LeftButton) {
      grid_.Click(cell.column(), cell.row());
    } else {
      grid_.Focus();
    }
  });
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex cell = indexAt(event->position().toPoint());
  if (!cell.isValid() || event->button() != Qt::LeftButton) return;
  if (Editable(cell.column())) {
    BeginEdit(cell.column(), cell.row(), {});
  } else {
    // The second click of a double-click is a click of its own, as on a check box.
    services_.Run([&] { grid_.Click(cell.column(), cell.row()); });
  }
}

void GridWidget::mouseMoveEvent(QMouseEvent*) {
  // The grid has a current cell, not a selection the mouse could drag out.
}

void GridWidget::mouseReleaseEvent(QMouseEvent*) {}

}  // namespace gui::controls
