#pragma once

#include "convert/RunState.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"
#include "host/DatabaseLink.h"
#include "host/KindClaim.h"
#include "host/PendingLogFile.h"
#include "host/RecordProbe.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace convert {

/// Commits the records of a kind in batches and keeps the kind's log exact across a kill.
///
/// Records. Each record that may change runs in its own nested level (a savepoint) of a
/// transaction of the company's database link, so a record the ERP refuses or that conflicts
/// undoes its own changes and nothing else. The transaction begins with the first such record
/// and is committed after every `RecordsPerCommit` records the loop handled, at the end of the
/// kind, on Cancel and before an error of the kind's loop is logged; so it holds the company's
/// write lock only for its own records. With one record per commit every record is committed on
/// its own, as the ERP's views commit it, and the transaction is the record's level; a link that
/// saves each record on its own (DatabaseLink::SavesRecordsAlone) always takes one per commit.
///
/// The log. While a batch is open its lines are held in order, stamped when they are written.
/// Before the commit they are staged in the kind's pending file in the log folder, with the log's
/// size and a probe of every converted record: its key and the values it held before and after.
/// After the commit they are appended to the log in one write; the next batch's stage replaces
/// them, and the end of the kind removes the file. A kill therefore leaves one of these:
///   - no complete stage: nothing of the batch committed and nothing of it logged;
///   - the stage and nothing committed (killed before the commit);
///   - the stage and the batch committed, its lines only staged (killed before the append, or
///     during it: an append cut short by the kill);
///   - the stage and the batch committed and logged (killed after the append).
/// The next start of that kind's log settles the file before its first line. When the log holds
/// the staged lines at the size staged, they were appended and the file is only removed. Else an
/// append cut short is taken back, and the probed records are read through the kind's data
/// sources: one that shows its after state proves the commit and the lines are appended; records
/// that show their before state prove there was none and the lines are dropped (the records are
/// still to convert and are logged when they are). So after settling every converted record has
/// exactly one success line, and no line claims a record that was not converted. Records whose
/// before and after look alike, or that cannot be read, tell nothing; a batch of such records
/// keeps its lines. A batch without a converted record is not staged: its lines claim nothing.
/// The kind's claim (KindClaim) keeps any other run from the kind's log meanwhile, so nothing
/// else is appended between a stage and its append. The claim is proven before the kind settles
/// and before each commit: once its file has been deleted or replaced another run may hold the
/// kind, so the open batch is undone, the other run's stage is left alone and the kind ends with
/// an error.
///
/// The change file. The run's change rows of a batch are written after its commit (OnCommit), so
/// the stage also holds them (OnStage), with the change file and where they go in it. Settling a
/// batch whose commit is proved, or whose lines were logged, puts them there unless the file
/// holds them already; a batch proved not committed drops them. So after a kill and the next
/// start of the kind the killed run's change file lists every record of it that was converted.
class CommitBatches {
 public:
  /// Records per commit unless the run says otherwise.
  static constexpr std::int32_t kDefaultRecordsPerCommit = 100;
  /// The most records one commit may take. A batch holds the company's write lock from its first
  /// record to its commit and keeps its log lines, change rows and probes in memory: at this size
  /// a batch of customers holds the lock for about 0.6 s and the run needs no more memory than
  /// with the default, while ten times as many hold it for longer than other users' saves wait
  /// (5 s) and need four times the memory, without converting any faster.
  static constexpr std::int32_t kMaxRecordsPerCommit = 10000;

  /// Batches on `connection`'s company link whose lines go to the log file `state` names.
  CommitBatches(host::AccpacConnection& connection, const RunState& state);

  std::int32_t RecordsPerCommit() const { return recordsPerCommit_; }
  /// Sets the records per commit, from 1 to kMaxRecordsPerCommit.
  void SetRecordsPerCommit(std::int32_t records);

  /// Proves each commit of the kinds that follow with `claim`; nullptr for none.
  void SetClaim(const host::KindClaim* claim) { claim_ = claim; }

  /// Starts a kind whose log name is `logName`: settles what a stopped run of the kind left
  /// staged, reading its records through `header` and, for detail rows, `detail`.
  void StartKind(const std::string& logName, host::DataSource& header, host::DataSource* detail);

  /// Whether a batch is open; its log lines are held until it is committed.
  bool Open() const { return open_; }
  /// Holds one line of the open batch, as AccpacConnection::LogLine made it.
  void Hold(const std::string& line);

  /// Opens a record's level, and the batch first when none is open. Raises HostError when the
  /// company's database refuses.
  void BeginRecord();
  /// Ends the record's level, keeping its changes with the probes of its converted record or
  /// undoing them.
  void EndRecord(bool keep, std::vector<host::RecordProbe> probes = {});
  /// Counts a record the kind's loop has handled; a full batch is committed.
  void RecordHandled();
  /// Calls `hook` on each batch staged, to add the change rows held for it.
  void OnStage(std::function<void(host::StagedBatch& batch)> hook) { onStage_ = std::move(hook); }
  /// Calls `hook` after each commit of a batch with whether it was committed or undone by a
  /// commit that failed.
  void OnCommit(std::function<void(bool committed)> hook) { onCommit_ = std::move(hook); }
  /// Commits the open batch and appends its lines to the log. A commit that fails undoes the
  /// whole batch, drops its lines and raises HostError.
  void Commit();
  /// Ends the kind once its last batch is committed: nothing of it is pending any more.
  void EndKind();
  /// The records kept for batches that a failed commit or a lost claim undid since the last
  /// call: the loop counted them as converted, but none of them was saved.
  std::int32_t TakeUnsavedRecords() { return std::exchange(unsaved_, 0); }

 private:
  void Settle(host::DataSource& header, host::DataSource* detail);
  /// Whether the kind's claim has been lost, which is remembered for the rest of the kind.
  bool ClaimLost();
  /// Undoes the open batch of a kind whose claim was lost and raises the error that ends it.
  [[noreturn]] void AbandonBatch();

  host::AccpacConnection& connection_;
  const RunState& state_;
  std::int32_t recordsPerCommit_ = kDefaultRecordsPerCommit;
  std::optional<host::PendingLogFile> pending_;
  std::shared_ptr<host::DatabaseLink> link_;
  bool open_ = false;
  bool transactionOpen_ = false;
  bool recordOpen_ = false;
  bool recordIsBatch_ = false;
  std::int32_t handled_ = 0;
  std::string lines_;
  long lineCount_ = 0;
  std::vector<host::RecordProbe> probes_;
  std::function<void(host::StagedBatch& batch)> onStage_;
  std::function<void(bool committed)> onCommit_;
  const host::KindClaim* claim_ = nullptr;
  bool claimLost_ = false;
  std::string logName_;
  std::int32_t kept_ = 0;     ///< records kept in the open batch
  std::int32_t unsaved_ = 0;  ///< records kept in batches undone since TakeUnsavedRecords
};

/// The level of one record in the open batch: undone unless kept.
class RecordLevel {
 public:
  explicit RecordLevel(CommitBatches& batches) : batches_(batches) { batches_.BeginRecord(); }
  ~RecordLevel();
  RecordLevel(const RecordLevel&) = delete;
  RecordLevel& operator=(const RecordLevel&) = delete;

  /// Keeps the record's changes; `probes` find the converted record again.
  void Keep(std::vector<host::RecordProbe> probes);

 private:
  CommitBatches& batches_;
  bool ended_ = false;
};

}  // namespace convert
