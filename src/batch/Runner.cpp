#include "batch/Runner.h"

#include "convert/TabChecks.h"
#include "convert/Targets.h"
#include "host/HostError.h"

namespace batch {
namespace {

constexpr const char* kBackupTitle = "Warning";

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

/// Enters one job into the window the way an operator would, and keeps every entry the
/// controls refused or did not take as written.
class JobEntry {
 public:
  JobEntry(const Job& job, app::Form1& window, ShownErrors& shown)
      : job_(job), window_(window), shown_(shown) {}

  std::vector<std::string> Apply() {
    const int tab = job_.tab;
    if (!window_.SSTab1().TabEnabled(tab)) {
      Problem(job_.tabLine, window_.SSTab1().TabCaption(tab) + " is not active for company " +
                                window_.Connection()->Session()->CompanyID() + ".");
      return problems_;
    }
    window_.SSTab1().SetTab(tab);
    for (const auto& [checkBox, choice] : job_.kinds) EnterKind(checkBox, choice);
    for (const auto& [name, choice] : job_.taxGroups) EnterTaxGroup(name, choice);
    for (const auto& [name, rows] : job_.operations) EnterOperations(name, rows);
    return problems_;
  }

 private:
  void Problem(int line, const std::string& text) { problems_.push_back(job_.Where(line) + text); }

  /// Runs one operator action; what it raises or makes the window show is a problem of `what`.
  /// True when the action went through without either.
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
    // The click handler enables the kind's ranges, so the box is set before them.
    window_.CheckBoxNamed(checkBox).SetValue(choice.checked ? 1 : 0);
    for (const auto& [control, value] : choice.ranges) {
      window_.RangeControl(control).SetValue(value.text);
    }
    for (const convert::KindTarget& kind : convert::KindTargets()) {
      if (kind.checkBox == checkBox && window_.Built(kind.criteria)) {
        // Checked by Convert, with the kind's other input.
        window_.Criteria(kind.criteria).Filter(choice.criteria.text);
      }
    }
  }

  void EnterTaxGroup(const std::string& name, const TaxGroupChoice& choice) {
    grids::TaxGroupGrid& mapping = window_.TaxGroupGridNamed(name);
    host::FieldEditControl& edit = *mapping.afecTaxGroup();
    if (choice.taxGroup.line != 0) {
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
    if (choice.classesLine != 0) EnterClasses(name, mapping, choice);
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
                        " classes, but tax group " + edit(mapping) + " has " +
                        std::to_string(authorities.size()) +
                        " authorities, one class each: " + joined(authorities) + ".");
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

  static std::string edit(grids::TaxGroupGrid& mapping) {
    return mapping.afecTaxGroup() ? mapping.afecTaxGroup()->Value() : std::string();
  }

  void EnterOperations(const std::string& name, const std::vector<OperationRow>& rows) {
    grids::TaxAuthorityGrid& operations = window_.TaxAuthorityGridNamed(name);
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
                              " columns: " + joined(captions) + ".");
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
    if (wanted != "Yes" && wanted != "No") {
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

  const Job& job_;
  app::Form1& window_;
  ShownErrors& shown_;
  std::vector<std::string> problems_;
};

}  // namespace

ConsoleMessages::ConsoleMessages(std::ostream& out, std::function<bool(const std::string&)> confirm)
    : out_(out), confirm_(std::move(confirm)) {}

void ConsoleMessages::Show(const std::string& text, const std::string&, host::MessageIcon) {
  out_ << text << '\n';
}

bool ConsoleMessages::AskYesNo(const std::string& text, const std::string& title,
                               host::MessageIcon) {
  if (title == kBackupTitle) return confirm_(text);
  // The final question: a headless run prints it and leaves the folder to the operator.
  out_ << text << '\n';
  return false;
}

void InterruptPump::ProcessPendingMessages() {
  if (pressed_ || !interrupted_.load() || !cancel_) return;
  pressed_ = true;
  cancel_();
}

std::vector<std::string> ApplyJob(const Job& job, app::Form1& window, ShownErrors& shown) {
  shown.Hold(true);
  std::vector<std::string> problems = JobEntry(job, window, shown).Apply();
  shown.Hold(false);
  return problems;
}

std::vector<std::string> CheckJob(const Job& job, app::Form1& window, ShownErrors& shown,
                                  host::HeldClaims* claims) {
  std::vector<std::string> problems = ApplyJob(job, window, shown);
  if (!problems.empty()) return problems;
  shown.Hold(true);
  if (claims) {
    window.Run()->ShareClaims(claims);
    window.Run()->CheckAndClaim();
  } else {
    window.Run()->CheckInput();
  }
  problems = shown.Take();
  shown.Hold(false);
  return problems;
}

ExitStatus StatusOfRun(const app::Form1& window) {
  const convert::ConversionRun* run = window.Run();
  if (run == nullptr) return kCancelled;
  switch (run->LastEnd()) {
    case convert::RunEnd::NotRun:
    case convert::RunEnd::Refused:
      return kRefused;
    case convert::RunEnd::Declined:
    case convert::RunEnd::Abandoned:
    case convert::RunEnd::Cancelled:
      return kCancelled;
    case convert::RunEnd::Finished:
      break;
  }
  const convert::RunState& state = window.State();
  const bool incomplete = state.lTotalFailed != 0 || state.lTotalSkipped != 0 ||
                          state.lKindsFailed != 0 || run->LostLogLines() != 0 ||
                          run->LostChangeRows() != 0;
  return incomplete ? kIncomplete : kComplete;
}

namespace {

/// Where the run's change file is, or that it has none, and the rows it could not take.
void SayChangeFile(const convert::ConversionRun& run, std::ostream& out) {
  if (run.LastChangeFile().empty()) {
    out << "No change file could be written.\n";
  } else {
    out << "Change file: " << run.LastChangeFile().string() << '\n';
  }
  if (run.LostChangeRows() != 0) {
    out << run.LostChangeRows() << " rows could not be written to the change file.\n";
  }
}

/// Enters the job into the window; when any entry is refused, prints every problem and then
/// `nothing` and says no.
bool JobApplied(const Job& job, app::Form1& window, ShownErrors& shown, const char* nothing,
                std::ostream& out) {
  const std::vector<std::string> problems = ApplyJob(job, window, shown);
  for (const std::string& problem : problems) out << problem << '\n';
  if (!problems.empty()) out << nothing << '\n';
  return problems.empty();
}

}  // namespace

ExitStatus PreviewJob(const Job& job, app::Form1& window, ShownErrors& shown, std::ostream& out) {
  if (!JobApplied(job, window, shown, "Nothing was previewed.", out)) return kRefused;
  window.Run()->SetJobName(job.file);
  if (!window.Run()->PreviewButtonClick()) return kRefused;
  const convert::RunEnd end = window.Run()->LastEnd();
  if (end == convert::RunEnd::Abandoned) out << "The preview was abandoned.\n";
  out << "Preview only: nothing was saved.\n";
  SayChangeFile(*window.Run(), out);
  return StatusOfRun(window);
}

ExitStatus RunJob(const Job& job, app::Form1& window, ShownErrors& shown, std::ostream& out) {
  if (!JobApplied(job, window, shown, "Nothing was converted.", out)) return kRefused;
  window.Run()->SetJobName(job.file);
  if (job.recordsPerCommit != 0) window.Run()->SetRecordsPerCommit(job.recordsPerCommit);
  window.cmdConvert().Click();
  const ExitStatus status = StatusOfRun(window);
  const convert::RunEnd end = window.Run()->LastEnd();
  if (end == convert::RunEnd::Declined) out << "Nothing was converted.\n";
  if (end == convert::RunEnd::Abandoned) out << "The run was abandoned; its log tells why.\n";
  if (end == convert::RunEnd::Finished || end == convert::RunEnd::Cancelled ||
      end == convert::RunEnd::Abandoned) {
    out << "Log files: " << window.Connection()->LogFolderOnDisk() << '\n';
    SayChangeFile(*window.Run(), out);
  }
  if (end == convert::RunEnd::Finished && window.Run()->LostLogLines() != 0) {
    out << window.Run()->LostLogLines() << " lines could not be written to the conversion log.\n";
  }
  return status;
}

}  // namespace batch
