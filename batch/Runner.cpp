#include "batch/Runner.h"

#include "convert/Targets.h"
#include "host/HostError.h"

namespace batch {
namespace {

constexpr const char* kBackupTitle = "Warning";

void EnterTaxGroup(grids::TaxGroupGrid& mapping, const TaxGroupChoice& choice) {
  host::FieldEditControl* edit = mapping.afecTaxGroup();
  if (edit == nullptr) return;
  edit->Type(choice.taxGroup);
  // Leaving the control validates the group and rebuilds the authority rows from it.
  if (!edit->Leave()) {
    throw host::HostError(
        host::HostError::kGeneralFailure,
        "Tax group " + choice.taxGroup + " of " + mapping.Name() + " was refused.");
  }
  host::GridControl* grid = mapping.Grid();
  auto column = mapping.TaxClassFields().begin();
  if (grid == nullptr || column == mapping.TaxClassFields().end()) return;
  for (size_t row = 0; row < choice.classes.size(); ++row) {
    if (static_cast<int>(row) >= grid->RowsCount()) {
      throw host::HostError(host::HostError::kGeneralFailure,
                            mapping.Name() + " has fewer authorities than classes given.");
    }
    if (grid->GetCellData(column->first, static_cast<int>(row)) == choice.classes[row]) continue;
    grid->EditCell(column->first, static_cast<int>(row), choice.classes[row]);
  }
  grid->LeaveGrid();
}

// A tax-included cell has no editor: the operator toggles it with a click, so it is clicked
// until it shows the wanted answer (a refused toggle leaves it and reports why).
void SetTaxIncluded(host::GridControl& grid, int column, int row, const std::string& wanted) {
  if (wanted.empty() || grid.GetCellData(column, row) == wanted) return;
  grid.Click(column, row);
}

void EnterOperations(grids::TaxAuthorityGrid& operations,
                     const std::vector<std::vector<std::string>>& rows) {
  host::GridControl* grid = operations.Grid();
  if (grid == nullptr || rows.empty()) return;
  for (size_t index = 0; index < rows.size(); ++index) {
    const std::vector<std::string>& cells = rows[index];
    // Focus on an empty grid makes its first row; Insert adds each further one.
    if (grid->RowsCount() == 0) {
      grid->Focus();
    } else {
      grid->PressKey(host::GridControl::kKeyInsert);
    }
    const int row = operations.InsertedRow();
    if (row < 0) {
      throw host::HostError(
          host::HostError::kGeneralFailure,
          "Row " + std::to_string(index + 1) + " of " + operations.Name() + " could not be added.");
    }
    if (cells[0] != operations.Operation(row)) {
      grid->EditCell(operations.OperationColumn(), row, cells[0]);
    }
    grid->EditCell(operations.AuthorityColumn(), row, cells[1]);
    for (size_t cell = 2; cell < cells.size(); ++cell) {
      const int column = static_cast<int>(cell);
      if (column >= grid->ColumnCount()) break;
      if (operations.TaxIncludedFields().Find(column) != nullptr) {
        SetTaxIncluded(*grid, column, row, cells[cell]);
      } else if (!cells[cell].empty() && grid->GetCellData(column, row) != cells[cell]) {
        grid->EditCell(column, row, cells[cell]);
      }
    }
  }
  grid->LeaveGrid();
}

const convert::KindTarget* KindOf(const std::string& checkBox) {
  for (const convert::KindTarget& kind : convert::KindTargets()) {
    if (kind.checkBox == checkBox) return &kind;
  }
  return nullptr;
}

}  // namespace

ConsoleMessages::ConsoleMessages(std::ostream& out, std::function<bool(const std::string&)> confirm)
    : out_(out), confirm_(std::move(confirm)) {}

void ConsoleMessages::Show(const std::string& text, const std::string&, host::MessageIcon) {
  out_ << text << '\n';
}

bool ConsoleMessages::AskYesNo(const std::string& text, const std::string& title,
                               host::MessageIcon) {
  if (title == kBackupTitle) {
    backupAsked_ = true;
    backupAccepted_ = confirm_(text);
    return backupAccepted_;
  }
  final_ = text;
  out_ << text << '\n';
  return false;
}

void InterruptPump::ProcessPendingMessages() {
  if (pressed_ || !interrupted_.load() || !cancel_) return;
  pressed_ = true;
  cancel_();
}

void ApplyJob(const Job& job, app::Form1& window) {
  window.SSTab1().SetTab(job.tab);
  for (const auto& [checkBox, choice] : job.kinds) {
    // The click handler enables the kind's ranges, so the box is set before them.
    window.CheckBoxNamed(checkBox).SetValue(choice.checked ? 1 : 0);
    for (const auto& [control, value] : choice.ranges) window.RangeControl(control).SetValue(value);
    const convert::KindTarget* kind = KindOf(checkBox);
    if (kind != nullptr && !kind->criteria.empty() && window.Built(kind->criteria)) {
      window.Criteria(kind->criteria).Filter(choice.criteria);
    }
  }
  for (const auto& [name, choice] : job.taxGroups) {
    if (window.Built(name)) EnterTaxGroup(window.TaxGroupGridNamed(name), choice);
  }
  for (const auto& [name, rows] : job.operations) {
    if (window.Built(name)) EnterOperations(window.TaxAuthorityGridNamed(name), rows);
  }
}

ExitStatus StatusOfFinalMessage(const std::string& message) {
  if (message.find(" canceled.") != std::string::npos) return kCancelled;
  if (message.find(" Errors occured") != std::string::npos ||
      message.find(" There was tax information not converted") != std::string::npos) {
    return kIncomplete;
  }
  return kComplete;
}

ExitStatus RunJob(const Job& job, app::Form1& window, ConsoleMessages& messages,
                  std::ostream& out) {
  try {
    ApplyJob(job, window);
  } catch (const host::HostError& error) {
    out << job.file << ": " << error.what() << '\n';
    return kRefused;
  }
  window.cmdConvert().Click();
  if (!messages.BackupAsked()) return kRefused;
  if (!messages.BackupAccepted()) {
    out << "Nothing was converted.\n";
    return kCancelled;
  }
  if (window.Connection() != nullptr && window.Connection()->Session() != nullptr) {
    out << "Log files: " << window.Connection()->LogFolderOnDisk() << '\n';
  }
  if (!messages.FinalMessage()) {
    out << "The run was abandoned; its log tells why.\n";
    return kCancelled;
  }
  return StatusOfFinalMessage(*messages.FinalMessage());
}

}  // namespace batch
