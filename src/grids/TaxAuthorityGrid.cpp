#include "grids/TaxAuthorityGrid.h"

#include "grids/Messages.h"
#include "grids/TaxClassCells.h"
#include "grids/TaxFinders.h"

#include "host/HostError.h"

#include <memory>

namespace grids {
namespace {

// Fields of the tax authorities view.
constexpr int kAuthorityField = 1;
constexpr int kTaxIncludedAllowedField = 7;

// Keys the operator presses on a tax-included cell.
constexpr int kKeyN = 78;
constexpr int kKeyY = 89;

// The operation editor: a 16-bit list field shown with its texts, as the ERP defines it.
constexpr int kOperationFieldSize = 6;
constexpr int kListAttributes = 76;

}  // namespace

TaxAuthorityGrid::TaxAuthorityGrid(ErrorDisplayFactory newErrorDisplay)
    : errors_(std::move(newErrorDisplay)) {}

TaxAuthorityGrid::~TaxAuthorityGrid() {
  if (grid_) grid_->RemoveListener(this);
}

void TaxAuthorityGrid::Grid(host::GridControl* grid) {
  if (grid_) grid_->RemoveListener(this);
  grid_ = grid;
  gridCaptions_.Clear();
  gridAlignment_.Clear();
  if (!grid_) return;
  grid_->AddListener(this);
  operationColumn_ = AddColumn("OPERATION", "Operation", 0, 66, true, false);
  authorityColumn_ = AddColumn("AUTHORITY", "Authority", 0, 81, true, true);
  if (adsTXAUTH_) grid_->SetSession(&adsTXAUTH_->Session());
}

void TaxAuthorityGrid::adsTXAUTH(host::DataSource* source) {
  adsTXAUTH_ = source;
  if (grid_ && adsTXAUTH_) grid_->SetSession(&adsTXAUTH_->Session());
}

int TaxAuthorityGrid::AddColumn(const std::string& fieldName, const std::string& caption,
                                std::int32_t alignment, int width, bool editable, bool finder) {
  int column = grid_->ColumnCount();
  gridCaptions_.Add(column, caption);
  gridAlignment_.Add(column, alignment);
  grid_->SetColumnCount(column + 1);
  grid_->DefineColumn(column, fieldName, -1, caption, alignment, width, editable, finder);
  return column;
}

int TaxAuthorityGrid::AddClassColumn(ColumnTable<ClassField>& table, const std::string& caption,
                                     int width, std::int16_t classType, std::int16_t classAxis) {
  ClassField field;
  field.Name = "CLASS" + std::to_string(table.Count());
  field.ClassAxis = classAxis;
  field.ClassType = classType;
  int column = AddColumn(field.Name, caption, 1, width, true, true);
  table.Add(column, field);
  return column;
}

int TaxAuthorityGrid::AddFromTaxClassColumn(const std::string& caption, int width,
                                            std::int16_t classType, std::int16_t classAxis) {
  return AddClassColumn(taxClassFieldsFrom_, caption, width, classType, classAxis);
}

int TaxAuthorityGrid::AddToTaxClassColumn(const std::string& caption, int width,
                                          std::int16_t classType, std::int16_t classAxis) {
  return AddClassColumn(taxClassFieldsTo_, caption, width, classType, classAxis);
}

int TaxAuthorityGrid::AddTaxIncludedColumn(const std::string& caption, int width) {
  ClassField field;
  field.Name = "INCLUDED" + std::to_string(taxIncludedFields_.Count());
  int column = AddColumn(field.Name, caption, 0, width, false, false);
  taxIncludedFields_.Add(column, field);
  return column;
}

const ClassField* TaxAuthorityGrid::GetTaxIncludedField(int column) const {
  return taxIncludedFields_.Find(column);
}

const ClassField* TaxAuthorityGrid::GetTaxClassToField(int column) const {
  return taxClassFieldsTo_.Find(column);
}

const ClassField* TaxAuthorityGrid::GetTaxClassFromField(int column) const {
  return taxClassFieldsFrom_.Find(column);
}

const ClassField* TaxAuthorityGrid::ClassColumn(int column) const {
  if (const ClassField* from = taxClassFieldsFrom_.Find(column)) return from;
  return taxClassFieldsTo_.Find(column);
}

void TaxAuthorityGrid::SetTaxClassFieldIDX(int column, std::int32_t index) {
  ClassField* field = taxClassFieldsFrom_.Find(column);
  if (!field) field = taxClassFieldsTo_.Find(column);
  if (field) field->IDX = index;
}

void TaxAuthorityGrid::SetTaxIncludedFieldIDX(int column, std::int32_t index) {
  if (ClassField* field = taxIncludedFields_.Find(column)) field->IDX = index;
}

std::string TaxAuthorityGrid::Authority(int row) const {
  return grid_->GetCellData(authorityColumn_, row);
}

std::string TaxAuthorityGrid::Operation(int row) const {
  return grid_->GetCellData(operationColumn_, row);
}

std::optional<grids::Operation> TaxAuthorityGrid::OperationOf(int row) const {
  return OperationNamed(Operation(row));
}

std::optional<CellRole> TaxAuthorityGrid::RoleOf(int column) const {
  if (taxClassFieldsFrom_.Contains(column)) return CellRole::FromClass;
  if (taxClassFieldsTo_.Contains(column)) return CellRole::ToClass;
  if (taxIncludedFields_.Contains(column)) return CellRole::TaxIncluded;
  return std::nullopt;
}

bool TaxAuthorityGrid::Uses(int row, CellRole role) const {
  const std::optional<grids::Operation> operation = OperationOf(row);
  return !operation || RuleOf(*operation).Uses(role);
}

void TaxAuthorityGrid::ZeroCounters() {
  lRecords_ = 0;
  lUpdated_ = 0;
  lSkipped_ = 0;
  lFailed_ = 0;
}

void TaxAuthorityGrid::adsHeader(host::DataSource* source) {
  adsHeader_ = source;
  filter_.clear();
  ZeroCounters();
}

void TaxAuthorityGrid::adsDetail(host::DataSource* source) {
  adsDetail_ = source;
  for (ColumnTable<ClassField>* table :
       {&taxClassFieldsFrom_, &taxClassFieldsTo_, &taxIncludedFields_}) {
    for (auto& [column, field] : *table) field.IDX = -1;
  }
}

void TaxAuthorityGrid::Filter(const std::string& filter) {
  filter_ = filter;
  ZeroCounters();
}

void TaxAuthorityGrid::Report(const std::string& text) {
  errors_.Report(adsTXAUTH_->Session(), text);
}

void TaxAuthorityGrid::ShowErrors() {
  errors_.Show(adsTXAUTH_->Session());
}

std::string TaxAuthorityGrid::AuthorityDescription() {
  return adsTXAUTH_->Fields(kAuthorityField).Description();
}

void TaxAuthorityGrid::SetClassCells(int row, const std::string& value) {
  for (int column = authorityColumn_ + 1; column < grid_->ColumnCount(); ++column) {
    const std::optional<CellRole> role = RoleOf(column);
    if (role && role != CellRole::TaxIncluded) {
      grid_->SetCellData(column, row, Uses(row, *role) ? value : "");
    }
  }
}

void TaxAuthorityGrid::SetTaxIncludedCells(int row, const std::string& value) {
  for (int column = authorityColumn_ + 1; column < grid_->ColumnCount(); ++column) {
    if (RoleOf(column) == CellRole::TaxIncluded) {
      grid_->SetCellData(column, row, Uses(row, CellRole::TaxIncluded) ? value : "");
    }
  }
}

int TaxAuthorityGrid::Insert() {
  insertMode_ = false;
  int row = 0;
  if (grid_->RowsCount() > 0) {
    row = grid_->CurrentRow() + 1;
    grid_->SetRowsCount(grid_->RowsCount() + 1);
    for (int r = grid_->RowsCount() - 1; r >= row + 1; --r) {
      for (int column = 0; column < grid_->ColumnCount(); ++column) {
        grid_->SetCellData(column, r, grid_->GetCellData(column, r - 1));
      }
    }
  } else {
    grid_->SetRowsCount(1);
  }
  grid_->SetCellData(operationColumn_, row, RuleOf(grids::Operation::Insert).name);
  grid_->SetCellData(authorityColumn_, row, "");
  SetClassCells(row, "1");
  SetTaxIncludedCells(row, kNo);
  grid_->GoToCell(operationColumn_, row, true);
  insertMode_ = true;
  return row;
}

void TaxAuthorityGrid::DELETE() {
  // Each step stands alone: a failing one (no current row, no row to select) is skipped.
  insertMode_ = false;
  try {
    grid_->SetEditState(false);
  } catch (const host::HostError&) {
  }
  int position = 0;
  try {
    position = grid_->DeleteCurrentRow();
  } catch (const host::HostError&) {
    return;
  }
  if (grid_->RowsCount() == 0) return;
  // Selecting the row above and then the deleted row's position leaves the row that moved into
  // its place current (or the last row when the last one was deleted).
  for (int selected : {position - 1, position}) {
    try {
      grid_->SelectRow(selected);
    } catch (const host::HostError&) {
    }
  }
}

bool TaxAuthorityGrid::Validate(int row) {
  if (!Authority(row).empty()) return true;
  Report(CannotBeBlank(AuthorityDescription()));
  ShowErrors();
  return false;
}

bool TaxAuthorityGrid::ValidateOperations() {
  if (grid_ && grid_->RowsCount() > 0) return true;
  Report(NoOperations(name_));
  return false;
}

bool TaxAuthorityGrid::TaxIncludedAllowed(int row) {
  try {
    adsTXAUTH_->Fields(kAuthorityField).PutWithoutVerification(Authority(row));
    if (!adsTXAUTH_->Read()) return false;
    return host::VariantBoolean(adsTXAUTH_->Fields(kTaxIncludedAllowedField).Value());
  } catch (const host::HostError&) {
    return false;
  }
}

void TaxAuthorityGrid::ReportTaxIncludedNotAllowed(int row) {
  Report(TaxInPriceNotAllowed(Authority(row)));
  ShowErrors();
}

void TaxAuthorityGrid::ToggleTaxIncluded(int column, int row) {
  grid_->SetCellData(column, row, grid_->GetCellData(column, row) == kYes ? kNo : kYes);
}

void TaxAuthorityGrid::ClickTaxIncluded(int column, int row) {
  if (grid_->GetCellData(column, row) != kNo || TaxIncludedAllowed(row)) {
    ToggleTaxIncluded(column, row);
  } else {
    ReportTaxIncludedNotAllowed(row);
  }
}

bool TaxAuthorityGrid::MayEdit(int column, int row, bool granted) const {
  const std::optional<CellRole> role = RoleOf(column);
  if (!role || !OperationOf(row)) return granted;
  return Uses(row, *role);
}

void TaxAuthorityGrid::OnFocusGained(host::GridControl& grid) {
  if (grid.RowsCount() != 0) return;
  insertMode_ = false;
  insertedRow_ = Insert();
}

bool TaxAuthorityGrid::HalfEntered(int row) const {
  if (!Authority(row).empty()) return false;
  // A row as Insert made it holds nothing the operator would miss; anything else was typed.
  if (OperationOf(row) != Operation::Insert) return true;
  for (int column = 0; column < grid_->ColumnCount(); ++column) {
    const std::string cell = grid_->GetCellData(column, row);
    const bool changed = taxClassFieldsFrom_.Contains(column)  ? !cell.empty()
                         : taxClassFieldsTo_.Contains(column)  ? cell != "1"
                         : taxIncludedFields_.Contains(column) ? cell != kNo
                                                               : false;
    if (changed) return true;
  }
  return false;
}

void TaxAuthorityGrid::OnFocusLost(host::GridControl& grid) {
  int row = grid.CurrentRow();
  if (grid.RowsCount() == 0 || row < 0) return;
  if (HalfEntered(row)) {
    // Dropping it would lose what the operator typed: the missing authority is asked for.
    Validate(row);
    grid.SetFocus();
  } else if (Authority(row).empty()) {
    DELETE();
  } else if (insertMode_) {
    if (Validate(insertedRow_)) {
      insertMode_ = false;
    } else {
      grid.SetFocus();
    }
  }
}

void TaxAuthorityGrid::OnBeforeRowChange(host::GridControl& grid, bool& mayLeave) {
  if (insertMode_ && !Authority(insertedRow_).empty()) mayLeave = Validate(insertedRow_);
  const int row = grid.CurrentRow();
  if (mayLeave && row >= 0 && row < grid.RowsCount() && HalfEntered(row)) mayLeave = Validate(row);
}

void TaxAuthorityGrid::OnRowLeft(host::GridControl& grid, int row) {
  if (row >= 0 && grid.RowsCount() != 1 && Authority(row).empty()) DELETE();
}

void TaxAuthorityGrid::OnBeforeCellEdit(host::GridControl&, int column, int row, bool& mayEdit) {
  mayEdit = MayEdit(column, row, mayEdit);
}

void TaxAuthorityGrid::OnCellClicked(host::GridControl& grid, int column, int row) {
  if (!taxIncludedFields_.Contains(column)) return;
  if (!MayEdit(column, row, grid.Column(column).editable)) return;
  ClickTaxIncluded(column, row);
}

void TaxAuthorityGrid::OnKeyPressed(host::GridControl& grid, int keyCode, int row, int column,
                                    const std::string&, bool shift, bool ctrl, bool alt) {
  if (keyCode == host::GridControl::kKeyInsert) {
    if (insertMode_ && !Validate(insertedRow_)) return;
    insertedRow_ = Insert();
    return;
  }
  if (keyCode == host::GridControl::kKeyDelete) {
    if (row >= 0) DELETE();
    return;
  }
  if (row < 0 || !taxIncludedFields_.Contains(column) || shift || ctrl || alt) return;
  if (!MayEdit(column, row, grid.Column(column).editable)) return;
  if (keyCode == host::GridControl::kKeySpace) {
    ClickTaxIncluded(column, row);
  } else if (keyCode == kKeyN) {
    grid.SetCellData(column, row, kNo);
  } else if (keyCode == kKeyY && grid.GetCellData(column, row) != kYes) {
    if (TaxIncludedAllowed(row)) {
      grid.SetCellData(column, row, kYes);
    } else {
      ReportTaxIncludedNotAllowed(row);
    }
  }
}

void TaxAuthorityGrid::OnFinderRequested(host::GridControl&, const std::string&, int column,
                                         int row, host::FieldEditControl& editor) {
  if (column == authorityColumn_) return;
  if (const ClassField* field = ClassColumn(column)) {
    SetTaxClassFinder(editor, Authority(row), *field);
  }
}

void TaxAuthorityGrid::PrepareOperationEditor(host::FieldEditControl& editor, int row) {
  auto field = std::make_shared<host::StandaloneField>();
  field->Define(host::StandaloneField::kTypeInt16, kOperationFieldSize);
  field->SetDefinitionText(host::StandaloneField::kItemName, "OPERATION");
  field->SetAttributeValue(kListAttributes);
  field->ClearPresentationList();
  std::string cell = Operation(row);
  std::int64_t value = 0;
  const std::vector<OperationRule>& rules = OperationRules();
  for (std::int64_t i = 0; i < static_cast<std::int64_t>(rules.size()); ++i) {
    field->AddPresentation(i, rules[static_cast<size_t>(i)].name);
    if (cell == rules[static_cast<size_t>(i)].name) value = i;
  }
  field->PutWithoutVerification(value);
  editor.SetAccpacField(field);
}

void TaxAuthorityGrid::PrepareAuthorityEditor(int column, int row, host::FieldEditControl& editor) {
  lastValue_ = grid_->GetCellData(column, row);
  editor.SetViewFinderButton(true);
  SetupTaxAuthorityFinder(editor, 0);
  auto field = std::make_shared<host::StandaloneField>();
  field->DefineLike(adsTXAUTH_->Fields(kAuthorityField));
  field->PutWithoutVerification(lastValue_);
  editor.SetAccpacField(field);
  grid_->SetEditState(true);
}

void TaxAuthorityGrid::OnEditorOpens(host::GridControl& grid, const std::string&, int column,
                                     int row, host::FieldEditControl& editor) {
  if (column == operationColumn_) {
    PrepareOperationEditor(editor, row);
  } else if (column == authorityColumn_) {
    PrepareAuthorityEditor(column, row, editor);
  } else if (ClassColumn(column)) {
    lastValue_ = grid.GetCellData(column, row);
    PrepareTaxClassEditor(editor, lastValue_, *adsTXCLASS_);
    grid.SetEditState(true);
  }
}

void TaxAuthorityGrid::ValidateAuthorityCell(int column, int row, host::FieldEditControl& editor) {
  try {
    const host::AccpacField& bound = editor.AccpacField();
    std::string value = bound.IsBound() ? bound.Text() : editor.Value();
    if (value.empty()) {
      Report(CannotBeBlank(AuthorityDescription()));
      ShowErrors();
      grid_->SetCellData(column, row, lastValue_);
      return;
    }
    adsTXAUTH_->ClearRecord();
    adsTXAUTH_->Fields(kAuthorityField).PutWithoutVerification(value);
    if (adsTXAUTH_->Read()) {
      grid_->SetEditState(false);
      grid_->SetCellData(column, row, value);
    } else {
      Report(DoesNotExist(AuthorityDescription(), value));
      ShowErrors();
      grid_->SetCellData(column, row, lastValue_);
    }
  } catch (const host::HostError&) {
    // The ERP could not be asked; the cell keeps what the editor left in it.
  }
}

void TaxAuthorityGrid::OnEditorCloses(host::GridControl& grid, const std::string&, int column,
                                      int row, host::FieldEditControl& editor, bool changed) {
  if (!changed || editor.Value() == lastValue_) {
    grid.SetEditState(false);
    return;
  }
  if (column == operationColumn_) {
    // The new operation's cells start afresh; those it does not use are emptied.
    SetClassCells(row, "1");
    SetTaxIncludedCells(row, kNo);
  } else if (column == authorityColumn_) {
    ValidateAuthorityCell(column, row, editor);
  } else if (const ClassField* field = ClassColumn(column)) {
    ValidateTaxClassCell(grid, column, row, Authority(row), *field, editor, *adsTXCLASS_,
                         lastValue_, [this](const std::string& message) {
                           Report(message);
                           ShowErrors();
                         });
  }
}

}  // namespace grids
