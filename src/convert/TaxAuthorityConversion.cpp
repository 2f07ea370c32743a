#include "convert/ClassNumber.h"
#include "convert/ConversionEngine.h"
#include "convert/RecordTexts.h"
#include "host/HostError.h"

#include <optional>

namespace convert {
using grids::TaxAuthorityGrid;

void ConversionEngine::ConvertTaxAuthorityRecords(TaxAuthorityGrid& grid,
                                                  grids::CriteriaField& criteria) {
  host::DataSource& header = *grid.adsHeader();
  try {
    LogCriteria(criteria);
    Write("");
    LogGrid(grid, 0);
    Write("");
    if (Replacing()) LogReplacements();
    const std::string filter = CombineFilters(grid.Filter(), criteria.Filter());
    ForEachRecord(
        header, filter, [&grid](std::int32_t records) { grid.lRecords(records); },
        [&] { ConvertTaxAuthorityRecord(grid); });
    LogConversionSummary(grid);
  } catch (const std::exception& error) {
    CountUnsavedAsFailed(grid);
    LogKindFailure(&error, KindFailedText(header));
  }
}

void ConversionEngine::ConvertTaxAuthorityRecord(TaxAuthorityGrid& grid) {
  host::DataSource& header = *grid.adsHeader();
  host::DataSource& detail = *grid.adsDetail();
  bool lineWritten = false;
  try {
    // A record that a plan's replacements do not touch is left out of the log and the change
    // file: it is neither converted nor skipped.
    if (Replacing() && grid.Grid()->RowsCount() == 0 && !HasReplacedAuthority(grid)) {
      ++notAffected_;
      return;
    }
    ShowProcessing(ConvertingText(header));
    // A preview takes no level: it holds no lock at all.
    std::optional<RecordLevel> record;
    if (!Previewing()) record.emplace(batches_);
    std::vector<host::RecordProbe> rows;
    BeginChanges(header, host::RecordProbe{});
    for (int row = 0; row < grid.Grid()->RowsCount(); ++row) {
      // A cancelled record is left without commit; the next fetch discards its changes.
      if (PollCancel()) return;
      ApplyOperation(grid, row, lineWritten, rows);
    }
    if (Replacing()) {
      if (const std::optional<std::string> problem = ReplacementProblem(grid)) {
        SkipReplacedRecord(grid, *problem, lineWritten);
        LogSessionErrors(0);
        observer_.Processing("");
        return;
      }
      for (const AuthorityReplacement& replacement : *replacements_) {
        ApplyReplacement(grid, replacement, lineWritten, rows);
      }
    }
    if (!detail.DetailChanges() && !header.PendingChanges()) {
      Write(
          header.Description() + " " + GetRecordKey(header) + ". Skipped. No operations performed.",
          lineWritten ? 1 : 0);
      grid.lSkipped(grid.lSkipped() + 1);
      EndChanges(nullptr, RecordOutcome::Skipped, "no operations performed");
    } else if (Previewing()) {
      grid.lUpdated(grid.lUpdated() + 1);
      EndChanges(nullptr, RecordOutcome::Converted);
    } else {
      header.Update();
      if (header.LastReturnCode() == 0) {
        record->Keep(std::move(rows));
        grid.lUpdated(grid.lUpdated() + 1);
        EndChanges(nullptr, RecordOutcome::Converted);
        Write(SucceededText(header));
      } else {
        grid.lFailed(grid.lFailed() + 1);
        EndChanges(nullptr, RecordOutcome::Failed, SessionMessages());
        Write(FailedText(header));
      }
    }
    LogSessionErrors(0);
    observer_.Processing("");
  } catch (const std::exception& error) {
    // Nothing of this record was committed. It counts as failed, so that a run whose records
    // were all refused does not end as complete.
    observer_.Processing("");
    grid.lFailed(grid.lFailed() + 1);
    EndChanges(nullptr, RecordOutcome::Failed, SessionMessages(&error));
    Write(FailedText(detail), 1);
    LogSessionErrors(1);
  }
}

void ConversionEngine::ApplyOperation(TaxAuthorityGrid& grid, int row, bool& lineWritten,
                                      std::vector<host::RecordProbe>& rows) {
  host::DataSource& detail = *grid.adsDetail();
  detail.ClearRecord();
  const std::string op = grid.Operation(row);
  const std::optional<grids::Operation> operation = grid.OperationOf(row);
  const std::string authority = grid.Authority(row);
  host::Field authorityField = detail.Fields(static_cast<int>(grid.lAuhorityIDX()));
  const std::string described = detail.Description();

  if (operation == grids::Operation::Insert) {
    authorityField.PutWithoutVerification(authority);
    if (detail.Read()) return;
    InsertRow(
        grid, authority, [&] { PutToClasses(grid, row); }, lineWritten, rows);
  } else if (operation == grids::Operation::Update) {
    authorityField.PutWithoutVerification(authority);
    if (!detail.Read()) return;
    if (!FromClassesMatch(grid, row)) {
      LogOperation(grid,
                   "Update " + described + " " + GetRecordKey(detail) +
                       " skipped. Tax classes do not match.",
                   lineWritten);
      return;
    }
    RowChange(grid, authority, true, false);
    host::RecordProbe probe = RowProbe(grid, true);
    PutToClasses(grid, row);
    LogOperation(grid, "Updating " + described + " " + GetRecordKey(detail), lineWritten);
    detail.Update();
    RowChange(grid, authority, true, true);
    Converted(probe, detail);
    AddRowProbe(rows, std::move(probe));
  } else if (operation == grids::Operation::Delete) {
    authorityField.PutWithoutVerification(authority);
    if (!detail.Read()) return;
    DeleteRow(grid, authority, lineWritten, rows);
  } else {
    LogOperation(
        grid,
        "Invalid operation " + op + "  " + described + " " + GetRecordKey(detail) + ". Ignored",
        lineWritten);
  }
}

void ConversionEngine::DeleteRow(TaxAuthorityGrid& grid, const std::string& authority,
                                 bool& lineWritten, std::vector<host::RecordProbe>& rows) {
  host::DataSource& detail = *grid.adsDetail();
  RowChange(grid, authority, true, false);
  host::RecordProbe probe = RowProbe(grid, true);
  probe.existsAfter = false;
  LogOperation(grid, "Deleting " + detail.Description() + " " + GetRecordKey(detail), lineWritten);
  detail.Delete();
  RowChange(grid, authority, false, true);
  AddRowProbe(rows, std::move(probe));
}

void ConversionEngine::InsertRow(TaxAuthorityGrid& grid, const std::string& authority,
                                 const std::function<void()>& putValues, bool& lineWritten,
                                 std::vector<host::RecordProbe>& rows) {
  host::DataSource& detail = *grid.adsDetail();
  detail.ClearRecord();
  detail.Fields(static_cast<int>(grid.lAuhorityIDX())).PutWithVerification(authority);
  RowChange(grid, authority, false, false);
  host::RecordProbe probe = RowProbe(grid, false);
  putValues();
  LogOperation(grid, "Inserting " + detail.Description() + " " + GetRecordKey(detail), lineWritten);
  detail.Insert();
  RowChange(grid, authority, true, true);
  Converted(probe, detail);
  AddRowProbe(rows, std::move(probe));
}

host::RecordProbe ConversionEngine::RowProbe(TaxAuthorityGrid& grid, bool existed) {
  host::DataSource& detail = *grid.adsDetail();
  std::vector<int> fields;
  for (const auto& [column, field] : grid.TaxClassFieldsTo()) fields.push_back(field.IDX);
  for (const auto& [column, field] : grid.TaxIncludedFields()) fields.push_back(field.IDX);
  host::RecordProbe probe = ProbeOf(detail, fields);
  probe.key.clear();
  for (int number : grid.adsHeader()->Keys().front().fields) {
    probe.key.emplace_back(number, grid.adsHeader()->Fields(number).Text());
  }
  probe.detailField = static_cast<int>(grid.lAuhorityIDX());
  probe.detailValue = detail.Fields(probe.detailField).Text();
  probe.existedBefore = existed;
  if (!existed) {
    for (host::RecordProbe::FieldState& field : probe.fields) field.before.clear();
  }
  return probe;
}

void ConversionEngine::AddRowProbe(std::vector<host::RecordProbe>& rows, host::RecordProbe probe) {
  // A row changed twice within one record (deleted, then inserted again) is probed for what it
  // held before the first change and after the last.
  for (host::RecordProbe& earlier : rows) {
    if (earlier.detailValue != probe.detailValue) continue;
    earlier.existsAfter = probe.existsAfter;
    for (size_t i = 0; i < earlier.fields.size() && i < probe.fields.size(); ++i) {
      earlier.fields[i].after = probe.fields[i].after;
    }
    return;
  }
  rows.push_back(std::move(probe));
}

void ConversionEngine::PutToClasses(TaxAuthorityGrid& grid, int row) {
  host::DataSource& detail = *grid.adsDetail();
  host::GridControl& cells = *grid.Grid();
  for (const auto& [column, field] : grid.TaxClassFieldsTo()) {
    detail.Fields(static_cast<int>(field.IDX)).PutWithVerification(cells.GetCellData(column, row));
  }
  for (const auto& [column, field] : grid.TaxIncludedFields()) {
    const bool included = cells.GetCellData(column, row) == TaxAuthorityGrid::kYes;
    detail.Fields(static_cast<int>(field.IDX)).PutWithVerification(std::int64_t{included ? 1 : 0});
  }
}

bool ConversionEngine::FromClassesMatch(TaxAuthorityGrid& grid, int row) {
  host::DataSource& detail = *grid.adsDetail();
  for (const auto& [column, field] : grid.TaxClassFieldsFrom()) {
    const std::int16_t current = ClassNumber(detail.Fields(static_cast<int>(field.IDX)).Text());
    if (current != ClassNumber(grid.Grid()->GetCellData(column, row))) return false;
  }
  return true;
}

void ConversionEngine::LogOperation(TaxAuthorityGrid& grid, const std::string& line,
                                    bool& lineWritten) {
  if (!lineWritten) {
    Write(ConvertingText(*grid.adsHeader()), 0);
    lineWritten = true;
  }
  Write(line, 1);
}

}  // namespace convert
