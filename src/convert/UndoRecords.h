#pragma once

#include "convert/ChangedRecords.h"
#include "convert/CommitBatches.h"
#include "convert/KindControls.h"
#include "convert/KindCounts.h"
#include "convert/UndoRules.h"
#include "convert/changes/ChangeRecorder.h"
#include "host/AccpacConnection.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace convert {

/// What an undo did so far: its counts per kind and the records it left alone or failed.
struct UndoTally {
  /// Per kind, by its description: records = converted records in the change file, updated = put
  /// back, skipped = changed since (left alone), failed = refused by the ERP or incomplete.
  std::vector<std::pair<std::string, KindCounts>> kinds;
  /// One line per record left alone or failed, the first kReportsKept of them: the undo's log and
  /// change file hold every one, and memory stays flat however long the file.
  std::vector<std::string> reports;
  /// The records left alone or failed beyond those in `reports`.
  std::size_t moreReports = 0;
  static constexpr std::size_t kReportsKept = 1000;

  /// Keeps `line` among the reports, or counts it once they are full.
  void AddReport(std::string line);
};

/// Settles what killed runs left staged for `kinds`, their log lines and their change rows, as
/// the next start of each kind would (CommitBatches).
void SettleKinds(const std::vector<const KindDef*>& kinds, KindControls& controls,
                 host::AccpacConnection& connection);

/// Puts back converted records of a change file, one at a time, through the window's data
/// sources. A record is put back whole or not at all: it is read, compared with its values
/// after, every value put with verification, and its header and detail rows saved in one update
/// and committed on its own, its log lines and change rows staged before the commit as a
/// conversion stages a batch, so that a kill loses none of them.
class UndoRecords {
 public:
  /// `committed` is called after each record's commit, before its change rows are written.
  UndoRecords(KindControls& controls, host::AccpacConnection& connection, UndoRules& rules,
              ChangeRecorder& recorder, const std::string& logFile, UndoTally& tally,
              std::function<void()> committed = nullptr);

  /// Puts `record` back when it holds exactly its values after; else leaves it alone and reports
  /// why.
  void Record(const RecordChange& record);
  /// Ends the kind being undone.
  void EndKind();
  /// Appends a line to the undo's log.
  void Log(const std::string& line);

 private:
  void StartKind(const KindDef& kind);
  /// Reads the record of `key`; the empty text when it was found, else why it is left alone.
  std::string Find(host::DataSource& header, const std::string& key);
  /// What differs from the values after, the empty text when nothing does.
  std::string Differences(const RecordChange& record, host::DataSource& header,
                          host::DataSource* detail);
  /// Puts the values before; the probes that tell later whether the record was saved.
  std::vector<host::RecordProbe> PutBack(const RecordChange& record, host::DataSource& header,
                                         host::DataSource* detail);
  std::vector<host::RecordProbe> PutBackRows(const RecordChange& record, host::DataSource& header,
                                             host::DataSource& detail);
  /// Saves the record; true when the update and its commit went through.
  bool Save(const RecordChange& record, host::DataSource& header, host::DataSource* detail,
            KindCounts& counts, const std::string& name);
  KindCounts& CountsOf(const std::string& kind);
  std::string SessionMessages(const std::exception& error);
  void Report(const std::string& line);
  void End(RecordOutcome outcome, const std::string& detail = "");

  KindControls& controls_;
  host::AccpacConnection& connection_;
  UndoRules& rules_;
  ChangeRecorder& recorder_;
  UndoTally& tally_;
  RunState state_;
  CommitBatches batches_;
  const KindDef* kind_ = nullptr;
  std::function<void()> committed_;
};

}  // namespace convert
