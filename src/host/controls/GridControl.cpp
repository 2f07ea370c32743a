#include "host/controls/GridControl.h"

#include "host/HostError.h"

#include <algorithm>

namespace host {
namespace {

HostError OutsideGrid(const std::string& what) {
  return HostError(HostError::kGeneralFailure, what + " is outside the grid.", "GridControl");
}

}  // namespace

void GridControl::AddListener(GridEvents* listener) {
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void GridControl::RemoveListener(GridEvents* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void GridControl::SetColumnCount(int count) {
  if (count < 0) throw OutsideGrid("Column count " + std::to_string(count));
  if (count == ColumnCount()) return;
  columns_.resize(static_cast<size_t>(count));
  for (auto& row : rows_) row.resize(static_cast<size_t>(count));
  ColumnsChanged.Emit();
  if (currentColumn_ >= count) SetCurrent(count - 1, currentRow_);
}

void GridControl::DefineColumn(int index, const std::string& fieldName, int /*dataField*/,
                               const std::string& caption, std::int32_t alignment, int width,
                               bool editable, bool finder) {
  if (index < 0 || index >= ColumnCount()) throw OutsideGrid("Column " + std::to_string(index));
  GridColumn defined{fieldName, caption, alignment, width, editable, finder};
  GridColumn& column = columns_[static_cast<size_t>(index)];
  if (column == defined) return;
  column = std::move(defined);
  ColumnsChanged.Emit();
}

const GridColumn& GridControl::Column(int index) const {
  if (index < 0 || index >= ColumnCount()) throw OutsideGrid("Column " + std::to_string(index));
  return columns_[static_cast<size_t>(index)];
}

void GridControl::SetRowsCount(int count) {
  if (count < 0) throw OutsideGrid("Row count " + std::to_string(count));
  if (count == RowsCount()) return;
  rows_.resize(static_cast<size_t>(count), std::vector<std::string>(columns_.size()));
  RowsChanged.Emit();
  if (currentRow_ >= count) SetCurrent(currentColumn_, count - 1);
}

void GridControl::CheckRow(int row) const {
  if (row < 0 || row >= RowsCount()) throw OutsideGrid("Row " + std::to_string(row));
}

void GridControl::CheckCell(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowsCount()) {
    throw OutsideGrid("Cell (" + std::to_string(column) + ", " + std::to_string(row) + ")");
  }
}

std::string GridControl::GetCellData(int column, int row) const {
  CheckCell(column, row);
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void GridControl::SetCellData(int column, int row, const std::string& text) {
  CheckCell(column, row);
  std::string& cell = rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
  if (cell == text) return;
  cell = text;
  CellChanged.Emit(column, row);
}

void GridControl::SetCurrent(int column, int row) {
  if (column == currentColumn_ && row == currentRow_) return;
  currentColumn_ = column;
  currentRow_ = row;
  CurrentCellChanged.Emit();
}

void GridControl::SelectRow(int position) {
  CheckRow(position - 1);
  SetCurrent(currentColumn_ < 0 && ColumnCount() > 0 ? 0 : currentColumn_, position - 1);
}

void GridControl::GoToCell(int column, int row, bool /*flag*/) {
  CheckCell(column, row);
  SetCurrent(column, row);
}

int GridControl::DeleteCurrentRow() {
  if (currentRow_ < 0) throw OutsideGrid("No current row");
  int position = currentRow_ + 1;
  rows_.erase(rows_.begin() + currentRow_);
  RowsChanged.Emit();
  SetCurrent(currentColumn_, std::min(currentRow_, RowsCount() - 1));
  return position;
}

void GridControl::SetFocus() {
  if (focused_) return;
  SetFocused(true);
  for (GridEvents* listener : Listeners()) listener->OnFocusGained(*this);
}

bool GridControl::Ready() {
  if (!Enabled()) return false;
  SetFocus();
  return focused_;
}

bool GridControl::Focus() {
  return Ready();
}

bool GridControl::LeaveGrid() {
  if (!focused_) return true;
  if (editing_) CancelEdit();
  SetFocused(false);
  for (GridEvents* listener : Listeners()) listener->OnFocusLost(*this);
  return !focused_;
}

bool GridControl::MoveToRow(int row) {
  if (!Ready()) return false;
  CheckRow(row);
  if (row == currentRow_) return true;
  bool mayLeave = true;
  for (GridEvents* listener : Listeners()) listener->OnBeforeRowChange(*this, mayLeave);
  if (!mayLeave) return false;
  int left = currentRow_;
  int rowsBefore = RowsCount();
  if (left >= 0) {
    for (GridEvents* listener : Listeners()) listener->OnRowLeft(*this, left);
  }
  // The row left may have been deleted by a listener; the rows below it moved up by one.
  if (left >= 0 && RowsCount() < rowsBefore && row > left) --row;
  SetCurrent(currentColumn_ < 0 && ColumnCount() > 0 ? 0 : currentColumn_,
             RowsCount() == 0 ? -1 : std::min(row, RowsCount() - 1));
  return true;
}

bool GridControl::Click(int column, int row) {
  if (!Ready()) return false;
  CheckCell(column, row);
  if (row != currentRow_ && !MoveToRow(row)) return false;
  if (currentRow_ < 0) return false;
  SetCurrent(column, currentRow_);
  for (GridEvents* listener : Listeners()) listener->OnCellClicked(*this, column, currentRow_);
  return true;
}

FieldEditControl* GridControl::BeginEdit(int column, int row) {
  if (editing_) CancelEdit();
  if (!Ready()) return nullptr;
  CheckCell(column, row);
  if (row != currentRow_ && !MoveToRow(row)) return nullptr;
  if (currentRow_ < 0) return nullptr;
  row = currentRow_;
  SetCurrent(column, row);
  bool mayEdit = Column(column).editable;
  for (GridEvents* listener : Listeners()) listener->OnBeforeCellEdit(*this, column, row, mayEdit);
  if (!mayEdit) return nullptr;
  editor_ = std::make_unique<FieldEditControl>();
  editor_->SetValue(GetCellData(column, row));
  editing_ = true;
  editColumn_ = column;
  editRow_ = row;
  for (GridEvents* listener : Listeners()) {
    listener->OnEditorOpens(*this, Column(column).fieldName, column, row, *editor_);
  }
  openingValue_ = editor_->Value();
  EditorChanged.Emit();
  return editor_.get();
}

FieldEditControl* GridControl::RequestFinder() {
  if (!editing_) return nullptr;
  for (GridEvents* listener : Listeners()) {
    listener->OnFinderRequested(*this, Column(editColumn_).fieldName, editColumn_, editRow_,
                                *editor_);
  }
  return editor_.get();
}

void GridControl::CloseEditor(bool changed) {
  editing_ = false;
  EditorChanged.Emit();
  for (GridEvents* listener : Listeners()) {
    listener->OnEditorCloses(*this, Column(editColumn_).fieldName, editColumn_, editRow_, *editor_,
                             changed);
  }
}

bool GridControl::CommitEdit(const std::string& text) {
  if (!editing_) {
    throw HostError(HostError::kGeneralFailure, "No cell editor is open.", "GridControl");
  }
  try {
    editor_->Type(text);
  } catch (const HostError&) {
    CloseEditor(false);
    throw;
  }
  bool changed = editor_->Value() != openingValue_;
  if (changed) SetCellData(editColumn_, editRow_, editor_->Value());
  CloseEditor(changed);
  return changed;
}

void GridControl::CancelEdit() {
  if (editing_) CloseEditor(false);
}

bool GridControl::EditCell(int column, int row, const std::string& text) {
  if (!BeginEdit(column, row)) return false;
  return CommitEdit(text);
}

void GridControl::PressKey(int keyCode, bool shift, bool ctrl, bool alt) {
  if (!Ready()) return;
  std::string text;
  if (currentRow_ >= 0 && currentColumn_ >= 0) text = GetCellData(currentColumn_, currentRow_);
  for (GridEvents* listener : Listeners()) {
    listener->OnKeyPressed(*this, keyCode, currentRow_, currentColumn_, text, shift, ctrl, alt);
  }
}

}  // namespace host
