#pragma once

#include "host/Session.h"
#include "host/Signal.h"
#include "host/WindowControls.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/GridEvents.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

/// What a grid column was defined with.
struct GridColumn {
  std::string fieldName;
  std::string caption;
  std::int32_t alignment = 0;  ///< 0 left, 1 right
  int width = 0;
  bool editable = false;
  bool finder = false;
  bool operator==(const GridColumn&) const = default;
};

/// The ERP's grid control as the program uses it: text cells in rows and columns, a current
/// cell, an edit state and the notifications of GridEvents. The program's own calls (cells, rows,
/// SelectRow, GoToCell, SetFocus while focused, ...) raise none of these; the operator methods
/// below raise them in the order a real grid does. Every operator method first gives the grid the
/// focus when it does not have it (focus gained), and does nothing on a disabled grid.
///
///   Focus()               focus gained.
///   LeaveGrid()           focus lost (a listener may take the focus back with SetFocus).
///   MoveToRow(r)          before row change (may-leave); if allowed and r is another row:
///                         row left (old row, still current); then r becomes current (shifted up
///                         by one when the row left was deleted above it).
///   Click(c, r)           MoveToRow(r) when r is not current; cell (c, r) current; cell clicked.
///   BeginEdit(c, r)       MoveToRow(r) when needed; cell current; before cell edit (may-edit
///                         starts as the column's editable flag); if allowed: a fresh edit
///                         control holding the cell's text; editor opens.
///   RequestFinder()       finder requested for the open editor.
///   CommitEdit(text)      the text goes into the editor's bound field with verification (codes
///                         are upper-cased); a refusal closes the editor unchanged and raises the
///                         HostError to the caller. Otherwise changed = the editor's value differs
///                         from its opening value; a changed value is written into the cell;
///                         editor closes (changed).
///   CancelEdit()          editor closes (not changed).
///   EditCell(c, r, text)  BeginEdit then CommitEdit.
///   PressKey(k, s, c, a)  key pressed on the current cell (row -1 when there is none).
///
/// Besides these operator notifications, the signals below announce every change of the grid's
/// state, whoever made it, before the operator notification that follows from it.
class GridControl : public WindowControl {
 public:
  static constexpr int kKeySpace = 32;
  static constexpr int kKeyInsert = 45;
  static constexpr int kKeyDelete = 46;

  void AddListener(GridEvents* listener);
  void RemoveListener(GridEvents* listener);

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  /// Sets the number of columns; new columns are undefined and their cells empty.
  void SetColumnCount(int count);
  /// Defines column `index` (below ColumnCount); `dataField` is the ERP's -1 for unbound columns.
  void DefineColumn(int index, const std::string& fieldName, int dataField,
                    const std::string& caption, std::int32_t alignment, int width, bool editable,
                    bool finder);
  const GridColumn& Column(int index) const;

  int RowsCount() const { return static_cast<int>(rows_.size()); }
  /// Growing adds empty rows at the end; shrinking drops the last rows.
  void SetRowsCount(int count);
  std::string GetCellData(int column, int row) const;
  void SetCellData(int column, int row, const std::string& text);

  /// The current row, negative when there is none.
  int CurrentRow() const { return currentRow_; }
  int CurrentColumn() const { return currentColumn_; }
  /// Makes the row at the 1-based `position` current, as DeleteCurrentRow counts positions.
  void SelectRow(int position);
  /// Makes the cell current; `flag` is the ERP's make-visible flag.
  void GoToCell(int column, int row, bool flag);
  /// Deletes the current row and returns its 1-based position; the row that takes its place (or
  /// else the new last row) becomes current.
  int DeleteCurrentRow();

  bool EditState() const { return editState_; }
  void SetEditState(bool editing) { AssignAndNotify(editState_, editing, EditStateChanged); }
  /// The session whose data the grid shows.
  host::Session* Session() const { return session_; }
  void SetSession(host::Session* session) { session_ = session; }
  bool Focused() const { return focused_; }
  /// Gives the grid the focus; focus gained when it did not have it.
  void SetFocus();

  /// The open cell editor, or nullptr.
  FieldEditControl* Editor() const { return editing_ ? editor_.get() : nullptr; }

  bool Focus();
  /// False when a listener kept the focus.
  bool LeaveGrid();
  bool MoveToRow(int row);
  bool Click(int column, int row);
  FieldEditControl* BeginEdit(int column, int row);
  FieldEditControl* RequestFinder();
  /// True when the editor closed with a changed value.
  bool CommitEdit(const std::string& text);
  void CancelEdit();
  /// True when the cell could be edited and its editor closed with a changed value.
  bool EditCell(int column, int row, const std::string& text);
  void PressKey(int keyCode, bool shift = false, bool ctrl = false, bool alt = false);

  /// The text of the cell (column, row) changed.
  Signal<int, int> CellChanged;
  /// Rows were added or removed.
  Signal<> RowsChanged;
  /// Columns were added, removed or defined anew.
  Signal<> ColumnsChanged;
  /// The current row or column changed.
  Signal<> CurrentCellChanged;
  Signal<> EditStateChanged;
  Signal<> FocusChanged;
  /// A cell editor opened (after its listeners prepared it) or closed.
  Signal<> EditorChanged;

 private:
  void SetCurrent(int column, int row);
  void SetFocused(bool focused) { AssignAndNotify(focused_, focused, FocusChanged); }
  void CheckCell(int column, int row) const;
  void CheckRow(int row) const;
  bool Ready();
  void CloseEditor(bool changed);
  std::vector<GridEvents*> Listeners() const { return listeners_; }

  std::vector<GridEvents*> listeners_;
  std::vector<GridColumn> columns_;
  std::vector<std::vector<std::string>> rows_;
  int currentRow_ = -1;
  int currentColumn_ = -1;
  bool editState_ = false;
  host::Session* session_ = nullptr;
  bool focused_ = false;
  std::unique_ptr<FieldEditControl> editor_;
  bool editing_ = false;
  int editColumn_ = -1;
  int editRow_ = -1;
  std::string openingValue_;
};

}  // namespace host
