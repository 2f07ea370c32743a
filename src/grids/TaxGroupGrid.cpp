#include "grids/TaxGroupGrid.h"

#include "grids/Messages.h"
#include "grids/TaxClassCells.h"
#include "grids/TaxFinders.h"

#include "host/HostError.h"

#include <charconv>
#include <memory>
#include <optional>
#include <stdexcept>

namespace grids {
namespace {

// Fields of the tax groups view.
constexpr int kGroupField = 1;
constexpr int kTransactionTypeField = 2;
const std::string kAuthorityFieldPrefix = "AUTHORITY";

// A class cell as a number: a blank cell is no class (0); text that is no number is nullopt.
std::optional<std::int64_t> ClassNumber(const std::string& cell) {
  size_t first = cell.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  size_t last = cell.find_last_not_of(' ');
  std::int64_t number = 0;
  const char* begin = cell.data() + first;
  const char* end = cell.data() + last + 1;
  auto [stop, error] = std::from_chars(begin, end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

}  // namespace

TaxGroupGrid::TaxGroupGrid(ErrorDisplayFactory newErrorDisplay)
    : errors_(std::move(newErrorDisplay)) {}

TaxGroupGrid::~TaxGroupGrid() {
  if (grid_) grid_->RemoveListener(this);
  if (afecTaxGroup_) afecTaxGroup_->RemoveListener(this);
}

void TaxGroupGrid::Grid(host::GridControl* grid) {
  if (grid_) grid_->RemoveListener(this);
  grid_ = grid;
  gridCaptions_.Clear();
  gridAlignment_.Clear();
  if (!grid_) return;
  grid_->AddListener(this);
  authorityColumn_ = AddColumn("AUTHORITY", "Authority", 0, 160, false, false);
  if (adsTXGRP_) grid_->SetSession(&adsTXGRP_->Session());
}

void TaxGroupGrid::adsTXGRP(host::DataSource* source) {
  adsTXGRP_ = source;
  BindTaxGroupField();
  if (grid_ && adsTXGRP_) grid_->SetSession(&adsTXGRP_->Session());
}

void TaxGroupGrid::afecTaxGroup(host::FieldEditControl* control) {
  if (afecTaxGroup_) afecTaxGroup_->RemoveListener(this);
  afecTaxGroup_ = control;
  if (afecTaxGroup_) afecTaxGroup_->AddListener(this);
  BindTaxGroupField();
}

void TaxGroupGrid::Caption(const std::string& caption) {
  caption_ = caption;
  if (afecTaxGroup_) afecTaxGroup_->SetCaption(caption_);
}

void TaxGroupGrid::BindTaxGroupField() {
  if (!afecTaxGroup_ || !adsTXGRP_ || afecTaxGroup_->AccpacField().IsBound()) return;
  auto field = std::make_shared<host::StandaloneField>();
  field->DefineLike(adsTXGRP_->Fields(kGroupField));
  afecTaxGroup_->SetAccpacField(field);
  SetupTaxGroupFinder(*afecTaxGroup_, 0);
  afecTaxGroup_->SetCaption(caption_);
}

int TaxGroupGrid::AddColumn(const std::string& fieldName, const std::string& caption,
                            std::int32_t alignment, int width, bool editable, bool finder) {
  int column = grid_->ColumnCount();
  gridCaptions_.Add(column, caption);
  gridAlignment_.Add(column, alignment);
  grid_->SetColumnCount(column + 1);
  grid_->DefineColumn(column, fieldName, -1, caption, alignment, width, editable, finder);
  return column;
}

int TaxGroupGrid::AddTaxClassColumn(const std::string& caption, int width, std::int16_t classType,
                                    std::int16_t classAxis) {
  ClassField field;
  field.Name = "CLASS" + std::to_string(taxClassFields_.Count());
  field.ClassAxis = classAxis;
  field.ClassType = classType;
  int column = AddColumn(field.Name, caption, 1, width, true, true);
  taxClassFields_.Add(column, field);
  return column;
}

std::string TaxGroupGrid::Authority(int row) const {
  return grid_->GetCellData(authorityColumn_, row);
}

void TaxGroupGrid::ZeroCounters() {
  lRecords_ = 0;
  lUpdated_ = 0;
  lSkipped_ = 0;
  lFailed_ = 0;
}

void TaxGroupGrid::adsHeader(host::DataSource* source) {
  adsHeader_ = source;
  filter_.clear();
  taxClassFieldPrefix_.clear();
  taxRegistrationFieldPrefix_.clear();
  ZeroCounters();
}

void TaxGroupGrid::Filter(const std::string& filter) {
  filter_ = filter;
  ZeroCounters();
}

void TaxGroupGrid::Report(const std::string& text) {
  errors_.Report(adsTXGRP_->Session(), text);
}

void TaxGroupGrid::ShowErrors() {
  errors_.Show(adsTXGRP_->Session());
}

bool TaxGroupGrid::ValidateTaxGroup() {
  bool result = false;
  try {
    std::string value = afecTaxGroup_->Value();
    if (value.empty()) {
      Report(CannotBeBlank(afecTaxGroup_->Caption()));
      return false;
    }
    adsTXGRP_->ClearRecord();
    adsTXGRP_->Fields(kGroupField).PutWithoutVerification(value);
    adsTXGRP_->Fields(kTransactionTypeField).PutWithoutVerification(std::int64_t{transactionType_});
    result = adsTXGRP_->Read();
    if (!result) {
      Report(DoesNotExist(
          afecTaxGroup_->Caption() + " " + adsTXGRP_->Fields(kGroupField).Description(), value));
    }
  } catch (const host::HostError&) {
    // The answer stands as far as the ERP gave it.
  }
  return result;
}

void TaxGroupGrid::OnValidate(host::FieldEditControl& control, bool& cancel) {
  if (control.Value() == control.Tag()) return;
  if (!ValidateTaxGroup()) {
    ShowErrors();
    cancel = true;
    control.SetValue(control.Tag());
    return;
  }
  control.SetTag(control.Value());
  RefreshAuthorityRows();
}

void TaxGroupGrid::RefreshAuthorityRows() {
  if (!grid_) return;
  grid_->SetRowsCount(0);
  grid_->SetEnabled(false);
  std::string value = afecTaxGroup_->Value();
  if (value.empty()) return;
  adsTXGRP_->Fields(kGroupField).PutWithVerification(value);
  adsTXGRP_->Fields(kTransactionTypeField).PutWithVerification(std::int64_t{transactionType_});
  if (!adsTXGRP_->Read()) return;
  for (int n = 1; n <= kAuthorities; ++n) {
    std::string authority = adsTXGRP_->Fields(kAuthorityFieldPrefix + std::to_string(n)).Text();
    if (authority.empty()) break;
    grid_->SetRowsCount(grid_->RowsCount() + 1);
    grid_->SetCellData(authorityColumn_, n - 1, authority);
    for (int column = authorityColumn_ + 1; column < grid_->ColumnCount(); ++column) {
      FillDefaultTaxClass(column, n - 1);
    }
  }
  if (grid_->RowsCount() >= 1) grid_->SetEnabled(true);
}

void TaxGroupGrid::FillDefaultTaxClass(int column, int row) {
  const ClassField* field = taxClassFields_.Find(column);
  grid_->SetCellData(column, row, "");
  if (!field) return;
  grid_->SetCellData(column, row, LowestTaxClass(*adsTXCLASS_, Authority(row), *field));
}

void TaxGroupGrid::OnFocusGained(host::GridControl& grid) {
  if (grid.RowsCount() < 1) return;
  grid.SelectRow(grid.CurrentRow() < 0 ? 1 : grid.CurrentRow() + 1);
}

void TaxGroupGrid::OnFinderRequested(host::GridControl&, const std::string&, int column, int row,
                                     host::FieldEditControl& editor) {
  if (const ClassField* field = taxClassFields_.Find(column)) {
    SetTaxClassFinder(editor, Authority(row), *field);
  }
}

void TaxGroupGrid::OnEditorOpens(host::GridControl& grid, const std::string&, int column, int row,
                                 host::FieldEditControl& editor) {
  if (!taxClassFields_.Contains(column)) return;
  lastValue_ = grid.GetCellData(column, row);
  PrepareTaxClassEditor(editor, lastValue_, *adsTXCLASS_);
  grid.SetEditState(true);
}

void TaxGroupGrid::OnEditorCloses(host::GridControl& grid, const std::string&, int column, int row,
                                  host::FieldEditControl& editor, bool changed) {
  if (!changed || editor.Value() == lastValue_) {
    grid.SetEditState(false);
    return;
  }
  const ClassField* field = taxClassFields_.Find(column);
  if (!field) return;
  ValidateTaxClassCell(grid, column, row, Authority(row), *field, editor, *adsTXCLASS_, lastValue_,
                       [this](const std::string& message) {
                         Report(message);
                         ShowErrors();
                       });
}

std::string TaxGroupGrid::ClassCell(int n) const {
  return grid_->GetCellData(authorityColumn_ + 1, n - 1);
}

bool TaxGroupGrid::TaxClassesMatch() {
  if (!grid_) return true;
  int rows = grid_->RowsCount();
  for (int n = 1; n <= rows; ++n) {
    std::int64_t recorded =
        host::VariantInteger(adsHeader_->Fields(taxClassFieldPrefix_ + std::to_string(n)).Value());
    std::optional<std::int64_t> mapped = ClassNumber(ClassCell(n));
    if (!mapped || *mapped != recorded) return false;
  }
  for (int n = rows + 1; n <= kAuthorities; ++n) {
    if (host::VariantInteger(
            adsHeader_->Fields(taxClassFieldPrefix_ + std::to_string(n)).Value()) != 0) {
      return false;
    }
  }
  return true;
}

void TaxGroupGrid::PutTaxClasses() {
  if (!grid_) return;
  int rows = grid_->RowsCount();
  for (int n = 1; n <= rows; ++n) {
    adsHeader_->Fields(taxClassFieldPrefix_ + std::to_string(n)).PutWithVerification(ClassCell(n));
  }
  for (int n = rows + 1; n <= kAuthorities; ++n) {
    adsHeader_->Fields(taxClassFieldPrefix_ + std::to_string(n))
        .PutWithoutVerification(std::int64_t{0});
  }
}

void TaxGroupGrid::GetTaxRegistrations() {
  if (taxRegistrationFieldPrefix_.empty() || taxClassFieldPrefix_.empty()) return;
  registrationAuthorities_.fill("");
  registrationClasses_.fill("");
  registrationIDs_.fill("");
  size_t count = 0;
  for (int n = 1; n <= kAuthorities; ++n) {
    host::Field taxClass = adsHeader_->Fields(taxClassFieldPrefix_ + std::to_string(n));
    if (host::VariantInteger(taxClass.Value()) == 0) break;
    std::string id = adsHeader_->Fields(taxRegistrationFieldPrefix_ + std::to_string(n)).Text();
    if (id.empty()) continue;
    registrationAuthorities_[count] =
        adsTXGRP_->Fields(kAuthorityFieldPrefix + std::to_string(n)).Text();
    registrationClasses_[count] = taxClass.Text();
    registrationIDs_[count] = id;
    ++count;
  }
}

namespace {

const std::string& Entry(const TaxGroupGrid::Registrations& entries, int index) {
  if (index < 1 || index > TaxGroupGrid::kAuthorities) {
    throw std::out_of_range("Tax registration " + std::to_string(index) + " is not 1 to 5.");
  }
  return entries[static_cast<size_t>(index - 1)];
}

}  // namespace

std::string TaxGroupGrid::GetTaxRegistrationAuthority(int index) const {
  return Entry(registrationAuthorities_, index);
}

std::string TaxGroupGrid::GetTaxRegistrationClass(int index) const {
  return Entry(registrationClasses_, index);
}

std::string TaxGroupGrid::GetTaxRegistrationID(int index) const {
  return Entry(registrationIDs_, index);
}

}  // namespace grids
