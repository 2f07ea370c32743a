#pragma once

#include "convert/CommitBatches.h"
#include "convert/ConversionRequest.h"
#include "convert/RunObserver.h"
#include "convert/RunState.h"
#include "convert/changes/ChangeRecorder.h"
#include "grids/CriteriaField.h"
#include "grids/TaxAuthorityGrid.h"
#include "grids/TaxGroupGrid.h"
#include "host/AccpacConnection.h"
#include "host/controls/FieldEditControl.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace convert {

/// The filter of a kind combined with its extra criteria: "(G) AND (C)", or whichever is set.
std::string CombineFilters(const std::string& kindFilter, const std::string& criteria);

/// The conversion routines of one kind: converts the records of the kind through the ERP,
/// counts every outcome and writes the kind's conversion log. Tax-group kinds move header
/// records from one tax group to another; tax-authority kinds apply a list of operations to
/// per-authority detail rows. Progress goes to `observer`, which is also asked whether to stop.
class ConversionEngine {
 public:
  ConversionEngine(host::AccpacConnection& connection, RunState& state, RunObserver& observer);

  RunState& State() { return state_; }
  /// Hands every record's fields before and after to `recorder` (nullptr for none). A recorder
  /// of a preview also keeps the engine from saving and logging anything.
  void SetChangeRecorder(ChangeRecorder* recorder) { recorder_ = recorder; }
  /// Whether records are only taken through the views: nothing is saved or logged.
  bool Previewing() const { return recorder_ != nullptr && recorder_->Preview(); }
  /// Records converted per commit; 1 commits every record on its own.
  std::int32_t RecordsPerCommit() const { return batches_.RecordsPerCommit(); }
  void SetRecordsPerCommit(std::int32_t records) { batches_.SetRecordsPerCommit(records); }
  /// Proves every commit of the kinds that follow with the run's `claim` on them; nullptr for
  /// none. A claim lost during a kind ends that kind with an error before its next commit.
  void SetKindClaim(const host::KindClaim* claim) { batches_.SetClaim(claim); }
  /// Class maps the tax-group kinds that follow convert by; nullptr or none compares the from
  /// grid's classes. The maps must outlive the kinds.
  void SetClassMaps(const std::vector<ClassMap>* maps) { classMaps_ = maps; }
  /// Authority replacements the tax-authority kinds that follow apply; nullptr for none. They
  /// must outlive the kinds.
  void SetReplacements(const std::vector<AuthorityReplacement>* replacements) {
    replacements_ = replacements;
  }
  /// Records of the kind last run that had none of the replaced authorities.
  std::int32_t NotAffected() const { return notAffected_; }
  // Setting up a kind and its log.
  void CopyTaxGroupGridSettings(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to);
  void StartTaxGroupLog(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to,
                        const std::string& logName);
  void StartTaxAuthorityLog(grids::TaxAuthorityGrid& grid, const std::string& logName);
  void LogRange(host::FieldEditControl& from, host::FieldEditControl& to);

  // Tax-group kinds.
  void ConvertTaxGroupRecords(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to,
                              grids::CriteriaField& criteria);
  void ConvertTaxGroupRecord(grids::TaxGroupGrid& to);
  void LogTaxRegistrations(grids::TaxGroupGrid& grid);

  // Tax-authority kinds.
  void ConvertTaxAuthorityRecords(grids::TaxAuthorityGrid& grid, grids::CriteriaField& criteria);
  void ConvertTaxAuthorityRecord(grids::TaxAuthorityGrid& grid);

  // Shared log routines.
  void LogConversionSummary(grids::TaxGroupGrid& grid);
  void LogConversionSummary(grids::TaxAuthorityGrid& grid);
  void LogSessionErrors(std::int16_t indent);
  void LogGrid(grids::TaxGroupGrid& grid, std::int16_t indent);
  void LogGrid(grids::TaxAuthorityGrid& grid, std::int16_t indent);

  // Progress and cancel.
  bool PollCancel();
  void ShowProcessing(const std::string& text);
  void InitProgress(std::int32_t maximum);

 private:
  /// Counters and header of a kind, whichever grid carries them.
  struct KindCounters {
    host::DataSource& header;
    std::int32_t records, updated, skipped, failed;
    const char* skippedWording;
    std::int32_t notAffected;
  };

  void Write(const std::string& line, std::int16_t indent = 0);
  void StartLogFile(const std::string& logName, host::DataSource& header, host::DataSource* detail);
  void LogMappingHeader(grids::TaxGroupGrid& grid);
  void WriteSummary(const KindCounters& counters);
  void StepProgress();
  /// Counts the records of the filter and, when there are any, browses them in key order and
  /// hands each fetched record to `convertRecord`, until the last one or a cancel; the count is
  /// returned. The pass that sees the cancel still fetches, as the ERP's loop does.
  std::int32_t ForEachRecord(host::DataSource& header, const std::string& filter,
                             const std::function<void(std::int32_t)>& setCount,
                             const std::function<void()>& convertRecord);
  /// Writes the lines of a kind that an error ended.
  void LogKindFailure(const std::exception* error, const std::string& failedLine);
  /// Writes the "Additional Criteria: " line when the kind has extra criteria.
  void LogCriteria(grids::CriteriaField& criteria);
  /// The converted record as the log's pending file probes it: its key, and `fields` with the
  /// texts they held before the conversion.
  static host::RecordProbe ProbeOf(host::DataSource& source, const std::vector<int>& fields);
  /// Fills in the texts `probe`'s fields hold after the conversion.
  static void Converted(host::RecordProbe& probe, host::DataSource& source);
  /// The fields a tax-group conversion writes: the tax group and the classes.
  static std::vector<int> TaxGroupFields(grids::TaxGroupGrid& to);
  void ApplyOperation(grids::TaxAuthorityGrid& grid, int row, bool& lineWritten,
                      std::vector<host::RecordProbe>& rows);
  /// A probe of the detail row in the buffer, whose to-class and tax-included fields hold their
  /// texts from before the operation; `existed` tells whether the row was there.
  static host::RecordProbe RowProbe(grids::TaxAuthorityGrid& grid, bool existed);
  static void AddRowProbe(std::vector<host::RecordProbe>& rows, host::RecordProbe probe);
  void PutToClasses(grids::TaxAuthorityGrid& grid, int row);
  bool FromClassesMatch(grids::TaxAuthorityGrid& grid, int row);
  void LogOperation(grids::TaxAuthorityGrid& grid, const std::string& line, bool& lineWritten);
  /// Removes the detail row in the buffer, logging and probing it as a Delete.
  void DeleteRow(grids::TaxAuthorityGrid& grid, const std::string& authority, bool& lineWritten,
                 std::vector<host::RecordProbe>& rows);
  /// Adds a detail row for `authority` whose values `putValues` puts, logging and probing it as
  /// an Insert.
  void InsertRow(grids::TaxAuthorityGrid& grid, const std::string& authority,
                 const std::function<void()>& putValues, bool& lineWritten,
                 std::vector<host::RecordProbe>& rows);

  // Class maps and authority replacements (PlanConversion.cpp).
  void LogClassMaps();
  void LogReplacements();
  /// Puts the class map the record's classes match into both grids; nullptr when none matches.
  const ClassMap* MatchClassMap(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to);
  /// The record's classes as the from grid reads them, such as "2,2".
  static std::string RecordClasses(grids::TaxGroupGrid& from);
  void SkipTaxGroupRecord(grids::TaxGroupGrid& to, const std::string& reason);
  bool Replacing() const { return replacements_ != nullptr && !replacements_->empty(); }
  /// Whether the detail row of `authority` exists; it is left in the buffer.
  bool ReadRow(grids::TaxAuthorityGrid& grid, const std::string& authority);
  /// Whether the record has a row for any replaced authority.
  bool HasReplacedAuthority(grids::TaxAuthorityGrid& grid);
  /// Why the record cannot be replaced (a class not mapped, the new authority already there);
  /// nothing when it can.
  std::optional<std::string> ReplacementProblem(grids::TaxAuthorityGrid& grid);
  /// Counts and logs the record as skipped for `problem`; nothing of it is saved.
  void SkipReplacedRecord(grids::TaxAuthorityGrid& grid, const std::string& problem,
                          bool& lineWritten);
  void ApplyReplacement(grids::TaxAuthorityGrid& grid, const AuthorityReplacement& replacement,
                        bool& lineWritten, std::vector<host::RecordProbe>& rows);

  // The change file's view of a record (ChangeCapture.cpp); nothing happens without a recorder.
  /// TaxGroupFields of the kind's grid, looked up once per kind.
  const std::vector<int>& ChangedFieldsOf(grids::TaxGroupGrid& grid);
  /// Counts the records of a kind's batches that a failed commit undid as failed, not converted.
  template <typename Grid>
  void CountUnsavedAsFailed(Grid& grid) {
    const std::int32_t unsaved = batches_.TakeUnsavedRecords();
    grid.lUpdated(grid.lUpdated() - unsaved);
    grid.lFailed(grid.lFailed() + unsaved);
  }
  /// The fields of a detail row that are not its key.
  static std::vector<int> RowFieldsOf(host::DataSource& detail);
  /// Starts the record in the buffer, with the values before of the probe of its kind's fields
  /// (ChangedFieldsOf); a detail kind's record gives an empty probe.
  void BeginChanges(host::DataSource& header, const host::RecordProbe& probe);
  /// The detail row of `authority` in the buffer, as it is before (or after) an operation.
  void RowChange(grids::TaxAuthorityGrid& grid, const std::string& authority, bool exists,
                 bool after);
  /// Ends the record; a converted header record's probe gives its values after.
  void EndChanges(const host::RecordProbe* probe, RecordOutcome outcome,
                  const std::string& detail = "");
  /// The messages of the session's error list, joined; the error's text when there are none.
  std::string SessionMessages(const std::exception* error = nullptr);

  host::AccpacConnection& connection_;
  RunState& state_;
  RunObserver& observer_;
  ChangeRecorder* recorder_ = nullptr;
  /// The fields a tax-group kind writes, looked up once per kind.
  std::vector<int> kindFields_;
  std::vector<std::string> kindFieldNames_;
  CommitBatches batches_;
  const std::vector<ClassMap>* classMaps_ = nullptr;
  /// The class map the grids hold now, so that a run of alike records fills them in once.
  const ClassMap* mapInGrids_ = nullptr;
  const std::vector<AuthorityReplacement>* replacements_ = nullptr;
  std::int32_t notAffected_ = 0;
};

}  // namespace convert
