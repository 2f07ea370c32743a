#include "convert/CommitBatches.h"

#include "convert/changes/ChangeFileWriter.h"
#include "host/HostError.h"
#include "host/LogFile.h"
#include "platform/Text.h"
#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <algorithm>

namespace convert {

CommitBatches::CommitBatches(host::AccpacConnection& connection, const RunState& state)
    : connection_(connection), state_(state) {}

void CommitBatches::SetRecordsPerCommit(std::int32_t records) {
  recordsPerCommit_ = std::clamp<std::int32_t>(records, 1, kMaxRecordsPerCommit);
}

void CommitBatches::StartKind(const std::string& logName, host::DataSource& header,
                              host::DataSource* detail) {
  pending_.emplace(connection_.LogFolderOnDisk(), platform::Trim(logName));
  logName_ = platform::Trim(logName);
  claimLost_ = false;
  // What is staged now may be another run's, which only that run may settle.
  if (!ClaimLost()) Settle(header, detail);
}

bool CommitBatches::ClaimLost() {
  if (!claimLost_ && claim_ != nullptr && !claim_->StillHeld()) claimLost_ = true;
  return claimLost_;
}

void CommitBatches::AbandonBatch() {
  if (transactionOpen_) {
    transactionOpen_ = false;
    try {
      link_->TransactionRollback();
    } catch (...) {
      // A transaction the database undid already is as good.
    }
  }
  if (onCommit_) onCommit_(false);
  throw host::HostError(host::HostError::kGeneralFailure,
                        "This run's claim on " + logName_ + " was lost: its file " +
                            claim_->File().string() +
                            " was deleted or replaced during the run, so another run may be "
                            "converting these records. The open batch was undone and the kind "
                            "stopped.");
}

void CommitBatches::Settle(host::DataSource& header, host::DataSource* detail) {
  if (const std::optional<host::StagedBatch> staged = pending_->Staged()) {
    const std::filesystem::path log =
        util::ResolvePathCase(util::JoinPath(connection_.getLogPath(), staged->logFile));
    const host::LogTail tail = host::LogTailAt(log, staged->logSize, staged->lines);
    // Lines logged whole were appended after the commit.
    bool committed = tail == host::LogTail::Whole;
    if (!committed) {
      // An append a kill cut short is taken back and made whole.
      if (tail == host::LogTail::Partly) host::TakeBackLog(log, staged->logSize);
      committed =
          host::CheckProbes(staged->probes, header, detail) != host::BatchOutcome::RolledBack;
      if (committed) connection_.WriteLogLines(staged->logFile, staged->lines, staged->lineCount);
    }
    // The rows follow the lines, so logged lines do not mean the rows were written. A pending
    // file can be edited: its rows go only into a change file of this log folder.
    const std::filesystem::path changeFile = staged->changeFile;
    if (committed && changeFile.parent_path() == connection_.LogFolderOnDisk() &&
        IsChangeFileName(changeFile.filename().string())) {
      PutStagedRows(changeFile, staged->changeSize, staged->changeRows);
    }
  }
  // A file a kill cut short was staged for a commit that never happened.
  pending_->Clear();
}

void CommitBatches::EndKind() {
  if (pending_ && !claimLost_) pending_->Clear();
}

void CommitBatches::Hold(const std::string& line) {
  lines_ += line;
  ++lineCount_;
}

void CommitBatches::BeginRecord() {
  if (!open_) {
    open_ = true;
    handled_ = 0;
  }
  if (!transactionOpen_) {
    link_ = connection_.CompanyDBLinkRW();
    // A batch of several records needs a transaction that can keep or undo them together.
    if (link_->SavesRecordsAlone()) recordsPerCommit_ = 1;
  }
  // A batch of one record is that record's level already.
  recordIsBatch_ = !transactionOpen_ && recordsPerCommit_ == 1;
  if (!transactionOpen_) {
    link_->TransactionBegin();
    transactionOpen_ = true;
  }
  if (!recordIsBatch_) link_->TransactionBegin();
  recordOpen_ = true;
}

void CommitBatches::EndRecord(bool keep, std::vector<host::RecordProbe> probes) {
  if (!recordOpen_) return;
  recordOpen_ = false;
  if (!keep) {
    link_->TransactionRollback();
    // The batch's lines are still logged when it is committed.
    if (recordIsBatch_) transactionOpen_ = false;
    return;
  }
  if (!recordIsBatch_) link_->TransactionCommit();
  ++kept_;
  for (host::RecordProbe& probe : probes) probes_.push_back(std::move(probe));
}

void CommitBatches::RecordHandled() {
  if (open_ && ++handled_ >= recordsPerCommit_) Commit();
}

void CommitBatches::Commit() {
  if (!open_) return;
  if (recordOpen_) EndRecord(false);
  open_ = false;
  host::StagedBatch batch{
      state_.CurrentLogFile, 0, std::move(lines_), lineCount_, std::move(probes_), {}, 0, {}};
  lines_.clear();
  lineCount_ = 0;
  probes_.clear();
  const std::int32_t kept = std::exchange(kept_, 0);
  if (ClaimLost()) {
    unsaved_ += kept;
    AbandonBatch();
  }
  if (pending_ && !batch.probes.empty()) {
    batch.logSize = connection_.LogFileSize(batch.logFile);
    if (onStage_) onStage_(batch);
    // A batch that could not be staged is still committed and logged, only not across a kill.
    if (!pending_->Stage(batch)) pending_->Clear();
  }
  try {
    if (transactionOpen_) link_->TransactionCommit();
    transactionOpen_ = false;
  } catch (...) {
    transactionOpen_ = false;
    unsaved_ += kept;
    if (onCommit_) onCommit_(false);
    throw;
  }
  connection_.WriteLogLines(batch.logFile, batch.lines, batch.lineCount);
  if (onCommit_) onCommit_(true);
}

RecordLevel::~RecordLevel() {
  if (ended_) return;
  try {
    batches_.EndRecord(false);
  } catch (...) {
    // Undoing a savepoint fails only when the database undid the whole transaction already,
    // which the batch's commit then reports.
  }
}

void RecordLevel::Keep(std::vector<host::RecordProbe> probes) {
  ended_ = true;
  batches_.EndRecord(true, std::move(probes));
}

}  // namespace convert
