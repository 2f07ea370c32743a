#pragma once

#include "convert/changes/ChangeFile.h"
#include "platform/FileDescriptor.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace convert {

/// Writes one change file: the header when created, then rows as the run hands them over, each
/// with its digest. The file always ends with a whole row: while the run is going that row says
/// it did not finish, and each write puts the new rows and that row again in its place in one
/// write, so a killed run leaves a file whose last row says so. A write that fails (a full disk)
/// is taken back to that row and ends the writing: the file keeps saying the run did not finish,
/// as it then did not, and the rows of the write and of every later one count as lost. Finish
/// replaces the row with the one that says the run finished. Nothing here raises.
/// The file is readable by its owner only, and is given its name only once its header is
/// written, under a name nothing else had: no planted file or link is ever written or named.
class ChangeFileWriter {
 public:
  /// Creates a new change file in `folder` (the folder itself is created when missing, not its
  /// parents) named after `started`, the header's tab and its mode; a name already taken gets
  /// "_2", "_3", ... The rows are signed with `digest`, which must outlive the writer.
  ChangeFileWriter(const std::filesystem::path& folder, const ChangeFileHeader& header,
                   std::chrono::system_clock::time_point started, const ChangeDigest& digest);
  ChangeFileWriter(const ChangeFileWriter&) = delete;
  ChangeFileWriter& operator=(const ChangeFileWriter&) = delete;

  /// Appends rows in one write.
  void Write(const std::vector<ChangeRow>& rows);
  /// Appends `rows` rows already signed after Head (AppendSignedRow) in one write; `head` is the
  /// digest of the last of them.
  void WriteSigned(const std::string& lines, long rows, const std::string& head);
  /// Writes the closing row; later writes are dropped.
  void Finish();
  /// The file, while it holds this run's rows under that name; empty when none was made.
  const std::filesystem::path& Path() const { return path_; }
  /// Whether rows written now would reach the file.
  bool Writing() const { return file_.Valid() && !finished_ && !broken_; }
  /// Where the next rows go: the file's size without its last row.
  long long End() const { return end_; }
  /// The digest the next row follows.
  const std::string& Head() const { return head_; }
  const ChangeDigest& Digest() const { return digest_; }
  /// Rows that could not be written.
  long LostRows() const { return lostRows_; }

 private:
  /// Locks the new file and writes its header; false when the header did not fit.
  bool Begin(const ChangeFileHeader& header);
  bool WriteAtEnd(const std::string& text, bool keepMarker);
  /// Forgets the name when something else stands there now.
  void CheckName();

  std::filesystem::path path_;
  const ChangeDigest& digest_;
  std::string head_;
  platform::FileDescriptor file_;
  long long end_ = 0;  ///< where the "did not finish" row starts
  long lostRows_ = 0;
  bool finished_ = false;
  bool broken_ = false;
};

/// Puts `rows` (signed lines) into the change file of a killed run at `at`, where its last row
/// stood when they were staged, unless they are there already; the file goes on ending with the
/// row that says the run did not finish, rewritten with them in one write. The rows go in only
/// where that row still stands, so nothing written since is ever overwritten. True when the file
/// holds them afterwards.
bool PutStagedRows(const std::filesystem::path& file, long long at, const std::string& rows);

/// Mends the change files in `folder` that a kill left ending inside a row: each is cut back to
/// its last whole row and closed with the row that says the run did not finish. Files whose
/// writer still runs are left alone. Rows of a batch the kill cut short are put back afterwards
/// by PutStagedRows when the kind's log is settled.
void MendChangeFiles(const std::filesystem::path& folder);

}  // namespace convert
