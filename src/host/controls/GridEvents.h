#pragma once

#include <string>

namespace host {

class FieldEditControl;
class GridControl;

/// Listener of a grid control's notifications; every handler does nothing by default. Columns
/// and rows count from 0.
class GridEvents {
 public:
  virtual ~GridEvents() = default;

  virtual void OnFocusGained(GridControl&) {}
  virtual void OnFocusLost(GridControl&) {}
  /// A cell editor opens; the listener may bind a field to `editor` and set it up.
  virtual void OnEditorOpens(GridControl&, const std::string& /*fieldName*/, int /*column*/,
                             int /*row*/, FieldEditControl& /*editor*/) {}
  /// A cell editor closes; `changed` tells whether its value differs from the one it opened
  /// with. The cell already shows the editor's value; the listener may set it otherwise.
  virtual void OnEditorCloses(GridControl&, const std::string& /*fieldName*/, int /*column*/,
                              int /*row*/, FieldEditControl& /*editor*/, bool /*changed*/) {}
  virtual void OnCellClicked(GridControl&, int /*column*/, int /*row*/) {}
  /// A cell is about to be edited; `mayEdit` starts as the column's editable flag.
  virtual void OnBeforeCellEdit(GridControl&, int /*column*/, int /*row*/, bool& /*mayEdit*/) {}
  /// A key was pressed on the current cell; `text` is that cell's text.
  virtual void OnKeyPressed(GridControl&, int /*keyCode*/, int /*row*/, int /*column*/,
                            const std::string& /*text*/, bool /*shift*/, bool /*ctrl*/,
                            bool /*alt*/) {}
  /// The operator asked for the finder of the open cell editor.
  virtual void OnFinderRequested(GridControl&, const std::string& /*fieldName*/, int /*column*/,
                                 int /*row*/, FieldEditControl& /*editor*/) {}
  /// The current row `row` is being left; it is still the current row.
  virtual void OnRowLeft(GridControl&, int /*row*/) {}
  /// The current row is about to change; clearing `mayLeave` keeps it.
  virtual void OnBeforeRowChange(GridControl&, bool& /*mayLeave*/) {}
};

}  // namespace host
