#pragma once

#include "host/RecordProbe.h"
#include "platform/FileDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace host {

/// The log lines and change rows of a batch of records whose commit is not yet known to have
/// happened.
struct StagedBatch {
  std::string logFile;       ///< the log file the lines belong in, a name in the log folder
  std::int64_t logSize = 0;  ///< the log file's size when the batch was staged
  std::string lines;         ///< stamped lines, each ending in CR LF
  long lineCount = 0;
  std::vector<RecordProbe> probes;  ///< how to tell from the records whether the batch committed
  std::string changeFile;           ///< the run's change file the rows belong in; empty for none
  std::int64_t changeSize = 0;      ///< where the rows go in it: its size without its last row
  std::string changeRows;           ///< the batch's change rows as CSV lines

  bool operator==(const StagedBatch&) const = default;
};

/// The pending file of one kind of record in its log folder: the batch staged before its commit.
/// A batch is staged whole or not at all: a file whose stage a kill cut short reads as nothing
/// staged, which is right, because the commit only ever follows a complete stage. The file stays
/// open from the first stage until it is cleared, and each stage overwrites the last in one write:
/// a file created and removed per batch would cost the file system more than the batch.
class PendingLogFile {
 public:
  /// The pending file of `logName` in the log folder `folder` (as it lies on disk).
  PendingLogFile(const std::filesystem::path& folder, const std::string& logName);
  PendingLogFile(const PendingLogFile&) = delete;
  PendingLogFile& operator=(const PendingLogFile&) = delete;

  /// Writes `batch` in place of what was staged; false when it could not be written.
  bool Stage(const StagedBatch& batch);
  /// The batch staged last, when a complete one is there.
  std::optional<StagedBatch> Staged() const;
  /// Removes the pending file.
  void Clear();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  platform::FileDescriptor file_;
  std::uint64_t stage_;
};

}  // namespace host
