#include "convert/RequestEntry.h"

#include "convert/KindTable.h"

#include <stdexcept>
#include <utility>

namespace convert {
namespace {

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

/// Enters one request into a set of controls the way an operator would, and keeps every entry
/// the controls refused or did not take as written.
class Entry {
 public:
  Entry(const ConversionRequest& request, KindControls& controls, CapturedErrors& shown)
      : request_(request), controls_(controls), shown_(shown) {}

  std::vector<std::string> Apply() {
    for (const auto& [checkBox, choice] : request_.kinds) EnterKind(checkBox, choice);
    for (const auto& [name, choice] : request_.taxGroups) EnterTaxGroup(name, choice);
    for (const auto& [name, rows] : request_.operations) EnterOperations(name, rows);
    return problems_;
  }

 private:
  void Problem(int line, const std::string& text) {
    problems_.push_back(request_.Where(line) + text);
  }

  /// Runs one operator action; what it raises or makes the controls show is a problem of
  /// `what`. True when the action went through without either.
  bool Act(int line, const std::string& what, const std::function<void()>& action) {
    shown_.Take();
    bool ok = true;
    try {
      action();
    } catch (const std::exception& error) {
      Problem(line, what + ": " + error.what());
      ok = false;
    }
    for (const std::string& message : shown_.Take()) {
      Problem(line, what + ": " + message);
      ok = false;
    }
    return ok;
  }

  void EnterKind(const std::string& checkBox, const KindChoice& choice) {
    const KindDef* kind = KindOfCheckBox(checkBox);
    if (kind == nullptr) throw std::out_of_range("No kind has the check box " + checkBox + ".");
    for (const auto& [control, value] : choice.ranges) {
      controls_.RangeControl(control).SetValue(value.text);
    }
    // Checked by Convert, with the kind's other input.
    controls_.Criteria(kind->criteria).Filter(choice.criteria.text);
  }

  void EnterTaxGroup(const std::string& name, const TaxGroupChoice& choice) {
    grids::TaxGroupGrid& mapping = controls_.TaxGroupGridNamed(name);
    host::FieldEditControl& edit = *mapping.afecTaxGroup();
    // A job that leaves the tax group out keeps the mapping's own, which starts empty.
    if (choice.taxGroup.line != 0 || !choice.taxGroup.text.empty()) {
      bool left = true;
      const bool ok = Act(choice.taxGroup.line, "TaxGroup of [" + name + "]", [&] {
        edit.Type(choice.taxGroup.text);
        // Leaving the control validates the group and rebuilds the authority rows from it.
        left = edit.Leave();
      });
      if (!ok) return;
      if (!left) {
        Problem(choice.taxGroup.line,
                "TaxGroup of [" + name + "]: " + choice.taxGroup.text + " was refused.");
        return;
      }
    }
    if (!choice.classes.empty()) EnterClasses(name, mapping, choice);
  }

  void EnterClasses(const std::string& name, grids::TaxGroupGrid& mapping,
                    const TaxGroupChoice& choice) {
    const int line = choice.classesLine;
    host::GridControl* grid = mapping.Grid();
    auto column = mapping.TaxClassFields().begin();
    if (grid == nullptr || column == mapping.TaxClassFields().end()) {
      Problem(line,
              "Classes of [" + name + "]: this mapping has no tax classes, only a tax group.");
      return;
    }
    std::vector<std::string> authorities;
    for (int row = 0; row < grid->RowsCount(); ++row) authorities.push_back(mapping.Authority(row));
    if (choice.classes.size() != authorities.size()) {
      Problem(line, "Classes of [" + name + "] gives " + std::to_string(choice.classes.size()) +
                        " classes, but tax group " + TaxGroupOf(mapping) + " has " +
                        std::to_string(authorities.size()) +
                        " authorities, one class each: " + Joined(authorities) + ".");
      return;
    }
    for (int row = 0; row < grid->RowsCount(); ++row) {
      const std::string& wanted = choice.classes[static_cast<size_t>(row)];
      if (grid->GetCellData(column->first, row) == wanted) continue;
      const std::string what = "Classes of [" + name + "], class " + wanted + " for authority " +
                               authorities[static_cast<size_t>(row)];
      if (Act(line, what, [&] { grid->EditCell(column->first, row, wanted); }) &&
          grid->GetCellData(column->first, row) != wanted) {
        Problem(line, what + ": the grid did not take it.");
      }
    }
    Act(line, "Classes of [" + name + "]", [&] { grid->LeaveGrid(); });
  }

  static std::string TaxGroupOf(grids::TaxGroupGrid& mapping) {
    return mapping.afecTaxGroup() ? mapping.afecTaxGroup()->Value() : std::string();
  }

  void EnterOperations(const std::string& name, const std::vector<OperationRow>& rows) {
    grids::TaxAuthorityGrid& operations = controls_.TaxAuthorityGridNamed(name);
    host::GridControl& grid = *operations.Grid();
    std::vector<std::string> captions;
    for (int column = 0; column < grid.ColumnCount(); ++column) {
      captions.push_back(grid.Column(column).caption);
    }
    for (const OperationRow& row : rows) {
      const std::string what = row.key + " of [" + name + "]";
      if (row.cells.size() > captions.size()) {
        Problem(row.line, what + " has " + std::to_string(row.cells.size()) +
                              " cells, but the grid has " + std::to_string(captions.size()) +
                              " columns: " + Joined(captions) + ".");
        continue;
      }
      EnterRow(operations, grid, row, what);
    }
    Act(rows.empty() ? 0 : rows.back().line, "[" + name + "]", [&] { grid.LeaveGrid(); });
  }

  void EnterRow(grids::TaxAuthorityGrid& operations, host::GridControl& grid,
                const OperationRow& row, const std::string& what) {
    // Focus on an empty grid makes its first row; Insert adds each further one.
    if (!Act(row.line, what, [&] {
          if (grid.RowsCount() == 0) {
            grid.Focus();
          } else {
            grid.PressKey(host::GridControl::kKeyInsert);
          }
        })) {
      return;
    }
    const int index = operations.InsertedRow();
    if (index < 0) {
      Problem(row.line, what + " could not be added.");
      return;
    }
    const std::string& operation = row.cells[0];
    if (operation != operations.Operation(index)) {
      Act(row.line, what, [&] { grid.EditCell(operations.OperationColumn(), index, operation); });
    }
    EnterCell(grid, row, what, operations.AuthorityColumn(), index);
    for (size_t cell = 2; cell < row.cells.size(); ++cell) {
      const int column = static_cast<int>(cell);
      if (row.cells[cell].empty()) continue;
      if (operations.TaxIncludedFields().Find(column) != nullptr) {
        EnterTaxIncluded(grid, row, what, column, index);
      } else {
        EnterCell(grid, row, what, column, index);
      }
    }
  }

  /// A class or authority cell, typed into the editor the grid opens for it.
  void EnterCell(host::GridControl& grid, const OperationRow& row, const std::string& what,
                 int column, int index) {
    const std::string& wanted = row.cells[static_cast<size_t>(column)];
    const std::string cell = what + ", " + grid.Column(column).caption + " " + wanted;
    if (grid.GetCellData(column, index) == wanted) return;
    bool editable = true;
    const bool ok = Act(row.line, cell, [&] {
      editable = grid.BeginEdit(column, index) != nullptr;
      if (editable) grid.CommitEdit(wanted);
    });
    if (!editable) {
      Problem(row.line, cell + ": " + grid.Column(column).caption + " cannot be given for " +
                            row.cells[0] + " rows.");
    } else if (ok && grid.GetCellData(column, index) != wanted) {
      Problem(row.line, cell + ": the grid did not take it.");
    }
  }

  /// A tax-included cell has no editor: the operator toggles it with a click.
  void EnterTaxIncluded(host::GridControl& grid, const OperationRow& row, const std::string& what,
                        int column, int index) {
    const std::string& wanted = row.cells[static_cast<size_t>(column)];
    const std::string cell = what + ", " + grid.Column(column).caption + " " + wanted;
    if (wanted != grids::TaxAuthorityGrid::kYes && wanted != grids::TaxAuthorityGrid::kNo) {
      Problem(row.line, cell + ": " + grid.Column(column).caption + " must be Yes or No.");
      return;
    }
    if (grid.GetCellData(column, index) == wanted) return;
    if (Act(row.line, cell, [&] { grid.Click(column, index); }) &&
        grid.GetCellData(column, index) != wanted) {
      Problem(row.line, cell + ": " + grid.Column(column).caption + " cannot be given for " +
                            row.cells[0] + " rows.");
    }
  }

  const ConversionRequest& request_;
  KindControls& controls_;
  CapturedErrors& shown_;
  std::vector<std::string> problems_;
};

/// Whatever a control of another tab or one never built cannot tell: nothing.
template <typename Read>
auto IfBuilt(Read read) -> decltype(read()) {
  try {
    return read();
  } catch (const std::out_of_range&) {
    return {};
  }
}

void ReadMapping(KindControls& controls, const MappingDef& mapping, ConversionRequest& request) {
  if (mapping.type == ConversionType::TaxAuthority) {
    grids::TaxAuthorityGrid* grid =
        IfBuilt([&] { return &controls.TaxAuthorityGridNamed(mapping.grid); });
    if (grid == nullptr) return;
    std::vector<OperationRow>& rows = request.operations[mapping.grid];
    host::GridControl& cells = *grid->Grid();
    for (int row = 0; row < cells.RowsCount(); ++row) {
      OperationRow read{"Row" + std::to_string(row + 1), 0, {}};
      for (int column = 0; column < cells.ColumnCount(); ++column) {
        read.cells.push_back(cells.GetCellData(column, row));
      }
      rows.push_back(std::move(read));
    }
    return;
  }
  for (const TaxGroupSideDef* side : {&mapping.from, &mapping.to}) {
    grids::TaxGroupGrid* grid = IfBuilt([&] { return &controls.TaxGroupGridNamed(side->name); });
    if (grid == nullptr) continue;
    TaxGroupChoice& choice = request.taxGroups[side->name];
    const host::FieldEditControl& edit = *grid->afecTaxGroup();
    choice.taxGroup.text = edit.Value();
    // The rows are those of the last tax group the mapping took; another one has none yet.
    const auto column = grid->TaxClassFields().begin();
    if (grid->Grid() == nullptr || column == grid->TaxClassFields().end()) continue;
    if (edit.Value() != edit.Tag()) continue;
    for (int row = 0; row < grid->Grid()->RowsCount(); ++row) {
      choice.classes.push_back(grid->Grid()->GetCellData(column->first, row));
    }
  }
}

}  // namespace

class CapturedErrors::Display : public host::ErrorDisplay {
 public:
  Display(std::unique_ptr<host::ErrorDisplay> inner, CapturedErrors& owner)
      : inner_(std::move(inner)), owner_(owner) {}

  void Put(host::Session& session, const std::string& source, int priority, const std::string& text,
           const std::string& help, const std::string& helpFile, int helpId) override {
    inner_->Put(session, source, priority, text, help, helpFile, helpId);
  }

  void Show(host::Session& session) override {
    host::ErrorCollection& errors = session.Errors();
    for (int i = 0; i < errors.Count(); ++i) owner_.shown_.push_back(errors.Text(i));
  }

  void Clear(host::Session& session) override { inner_->Clear(session); }

 private:
  std::unique_ptr<host::ErrorDisplay> inner_;
  CapturedErrors& owner_;
};

grids::ErrorDisplayFactory CapturedErrors::Factory() {
  return [this] { return std::make_unique<Display>(connection_.NewErrorDisplay(), *this); };
}

std::vector<std::string> CapturedErrors::Take() {
  return std::exchange(shown_, {});
}

std::vector<std::string> EnterRequest(const ConversionRequest& request, KindControls& controls,
                                      CapturedErrors& shown) {
  return Entry(request, controls, shown).Apply();
}

ConversionRequest ReadRequest(KindControls& controls, int tab,
                              const std::function<bool(const std::string& checkBox)>& checked) {
  ConversionRequest request;
  request.tab = tab;
  const std::string& code = RunTabs().at(static_cast<size_t>(tab));
  for (const KindDef* kind : TabKinds(code)) {
    KindChoice& choice = request.kinds[kind->checkBox];
    choice.checked = checked(kind->checkBox);
    for (const RangePairDef& pair : kind->ranges) {
      for (const std::string* name : {&pair.from, &pair.to}) {
        choice.ranges[*name].text = controls.RangeControl(*name).Value();
      }
    }
    grids::CriteriaField* criteria = IfBuilt([&] { return &controls.Criteria(kind->criteria); });
    if (criteria != nullptr) choice.criteria.text = criteria->Filter();
  }
  for (const MappingDef& mapping : Mappings()) {
    if (mapping.tab == code) ReadMapping(controls, mapping, request);
  }
  return request;
}

}  // namespace convert
