#include "convert/changes/ChangeFileWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace convert {
namespace {

/// Change files hold the company's tax data: like its database, only their owner reads them.
constexpr mode_t kOwnerOnly = 0600;

/// Writes `text`, followed by the row of a run that did not finish when `keepMarker`, at `at` in
/// one positioned write that replaces the last row, so the file never ends inside a row. A write
/// that fails is taken back: the file is cut to where that row ended and the row written again,
/// over bytes the file already had, so that even a full disk takes it.
bool WriteRowsAt(int fd, long long at, const std::string& text, bool keepMarker) {
  const std::string marker = NotFinishedRow();
  if (platform::WriteAllAt(fd, keepMarker ? text + marker : text, at)) return true;
  if (::ftruncate(fd, static_cast<off_t>(at + static_cast<long long>(marker.size()))) == 0) {
    platform::WriteAllAt(fd, marker, at);
  }
  return false;
}

/// The names a run's change file may take: the first, then with "_2", "_3", ...
std::filesystem::path CandidateName(const std::filesystem::path& folder, const std::string& name,
                                    int attempt) {
  if (attempt == 1) return folder / name;
  return folder / (name.substr(0, name.size() - 4) + "_" + std::to_string(attempt) + ".csv");
}

constexpr int kNameAttempts = 99;

/// Gives the unnamed file `fd` the first free name; empty when none could be given. A name taken
/// by anything, a planted link too, is passed over.
std::filesystem::path GiveName(int fd, const std::filesystem::path& folder,
                               const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
    std::filesystem::path path = CandidateName(folder, name, attempt);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return path;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

}  // namespace

ChangeFileWriter::ChangeFileWriter(const std::filesystem::path& folder,
                                   const ChangeFileHeader& header,
                                   std::chrono::system_clock::time_point started,
                                   const ChangeDigest& digest)
    : digest_(digest) {
  ::mkdir(folder.c_str(), 0777);
  const std::string name = ChangeFileName(started, header.tab, header.mode);
  // Written whole before it gets its name, the file never shows empty or without its header, not
  // after a kill nor on a full disk.
  file_ = platform::FileDescriptor::Open(folder, O_TMPFILE | O_WRONLY, kOwnerOnly);
  if (file_.Valid()) {
    const bool begun = Begin(header);
    if (begun) path_ = GiveName(file_.Get(), folder, name);
    if (!path_.empty()) return;
    file_.Close();
    end_ = 0;
    if (!begun) return;  // no room for the header: no file rather than a headless one
  }
  // A file system without unnamed files, or without /proc to name one: created by name, never
  // through anything that stands there already.
  for (int attempt = 1; attempt <= kNameAttempts && !file_.Valid(); ++attempt) {
    const std::filesystem::path path = CandidateName(folder, name, attempt);
    file_ =
        platform::FileDescriptor::Open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, kOwnerOnly);
    if (file_.Valid()) path_ = path;
    if (!file_.Valid() && errno != EEXIST) break;
  }
  if (file_.Valid() && !Begin(header)) {
    file_.Close();
    ::unlink(path_.c_str());
    path_.clear();
  }
}

bool ChangeFileWriter::Begin(const ChangeFileHeader& header) {
  // Held for the writer's life and dropped by the system when the process dies, so that mending
  // the files of killed runs never touches the file of a run still going.
  ::flock(file_.Get(), LOCK_EX | LOCK_NB);
  const std::string text = ChangeHeaderText(header);
  head_ = digest_.Start(text);
  return WriteAtEnd(text, true);
}

bool ChangeFileWriter::WriteAtEnd(const std::string& text, bool keepMarker) {
  if (!WriteRowsAt(file_.Get(), end_, text, keepMarker)) return false;
  end_ += static_cast<long long>(text.size());
  return true;
}

void ChangeFileWriter::Write(const std::vector<ChangeRow>& rows) {
  std::string text;
  std::string head = head_;
  for (const ChangeRow& row : rows) AppendSignedRow(text, digest_, head, row);
  WriteSigned(text, static_cast<long>(rows.size()), head);
}

void ChangeFileWriter::WriteSigned(const std::string& lines, long rows, const std::string& head) {
  if (rows == 0) return;
  if (!Writing() || !WriteAtEnd(lines, true)) {
    // After a write that failed the file would miss rows between those before and after it:
    // nothing more is written, and the file says the run did not finish.
    if (file_.Valid() && !finished_) broken_ = true;
    lostRows_ += rows;
    return;
  }
  head_ = head;
}

void ChangeFileWriter::Finish() {
  if (!file_.Valid() || finished_) return;
  finished_ = true;
  if (!broken_) {
    std::string row;
    std::string head = head_;
    AppendSignedRow(row, digest_, head, {kEndOfRun, "", "", "", "", kRunFinished});
    // The closing row is longer than the one it replaces, so nothing of that one is left over.
    WriteAtEnd(row, false);
  }
  CheckName();
}

void ChangeFileWriter::CheckName() {
  struct stat own {};
  struct stat named {};
  if (path_.empty() || ::fstat(file_.Get(), &own) != 0 || ::lstat(path_.c_str(), &named) != 0 ||
      own.st_dev != named.st_dev || own.st_ino != named.st_ino) {
    path_.clear();
  }
}

namespace {

/// Whether `tail`, what a killed run's change file holds from where its last write began, is
/// what that write of `data` over the row `marker` can leave when a kill cuts it short: the first
/// bytes of `data`, then whatever of `marker` they did not reach (or, once the file was mended,
/// its whole rows among them and `marker`).
bool CutShortWriteOf(const std::string& tail, const std::string& data, const std::string& marker) {
  if (tail.size() > data.size()) return false;
  const size_t common = static_cast<size_t>(
      std::mismatch(tail.begin(), tail.end(), data.begin()).first - tail.begin());
  if (common == tail.size()) return true;
  // Mended after the kill: cut back to its last whole row and closed with the end row.
  if (tail.compare(common, std::string::npos, marker) == 0) return true;
  return tail.size() == marker.size() &&
         tail.compare(common, std::string::npos, marker, common) == 0;
}

}  // namespace

bool PutStagedRows(const std::filesystem::path& file, long long at, const std::string& rows) {
  const platform::FileDescriptor changes = platform::FileDescriptor::OpenPlainFile(file, O_RDWR);
  const std::optional<std::int64_t> size =
      changes.Valid() ? platform::PlainFileSize(changes.Get()) : std::nullopt;
  if (!size || *size < at) return false;
  const std::string marker = NotFinishedRow();
  const std::string data = rows + marker;
  // Only as much as the rows and the end row take: the rest of a long run's file tells nothing.
  const std::optional<std::string> tail = platform::ReadUpToAt(changes.Get(), data.size() + 1, at);
  if (!tail) return false;
  // The end row still stands where the rows go, or the write of them after the commit was cut
  // short by the kill: writing them again mends the file. Otherwise they are there.
  return *tail != data && CutShortWriteOf(*tail, data, marker)
             ? WriteRowsAt(changes.Get(), at, rows, true)
             : tail->starts_with(rows);
}

namespace {

/// Where the last whole CSV line of `text` ends: after its last line break outside quotes.
size_t EndOfLastWholeLine(const std::string& text) {
  size_t end = 0;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == '\n' && !quoted) end = i + 1;
  }
  return end;
}

/// Where a change file whose last write a kill cut short is cut back to. A write cut short within
/// the length of the end row it replaced leaves a line of the end row's length ending like it (its
/// first bytes new, the rest of the old row): that line goes. Otherwise what follows the last
/// whole line goes.
size_t MendedSize(const std::string& text) {
  const std::string marker = NotFinishedRow();
  const size_t end = EndOfLastWholeLine(text);
  constexpr size_t kSameEnding = 4;
  if (end == text.size() && end >= marker.size() &&
      (end == marker.size() || text[end - marker.size() - 1] == '\n') &&
      text.compare(end - kSameEnding, kSameEnding, marker, marker.size() - kSameEnding) == 0) {
    return end - marker.size();
  }
  return end;
}

/// Whether `text` ends with a whole end row, of a finished run or of one that did not finish.
bool EndsWithEndRow(const std::string& text) {
  if (!text.ends_with("\r\n")) return false;
  const size_t lastBreak = text.size() >= 2 ? text.rfind('\n', text.size() - 2) : std::string::npos;
  const size_t lastLine = lastBreak == std::string::npos ? 0 : lastBreak + 1;
  return text.compare(lastLine, std::strlen(kEndOfRun), kEndOfRun) == 0;
}

/// Cuts a change file that a kill left ending inside a row back to its last whole row and closes
/// it with the row of a run that did not finish; a file whose writer still runs is left alone.
void MendChangeFile(const std::filesystem::path& file) {
  const platform::FileDescriptor changes = platform::FileDescriptor::OpenPlainFile(file, O_RDWR);
  if (!changes.Valid() || ::flock(changes.Get(), LOCK_EX | LOCK_NB) != 0) return;
  const std::int64_t size = platform::PlainFileSize(changes.Get()).value_or(0);
  if (size == 0) return;
  // The end row is short: the last bytes tell a whole file without reading a long one.
  const std::int64_t tailSize = std::min<std::int64_t>(size, 256);
  const std::optional<std::string> tail =
      platform::ReadExactlyAt(changes.Get(), static_cast<size_t>(tailSize), size - tailSize);
  if (!tail || EndsWithEndRow(*tail)) return;
  const std::optional<std::string> text =
      platform::ReadExactlyAt(changes.Get(), static_cast<size_t>(size), 0);
  if (!text) return;
  const size_t end = MendedSize(*text);
  if (::ftruncate(changes.Get(), static_cast<off_t>(end)) == 0) {
    WriteRowsAt(changes.Get(), static_cast<long long>(end), "", true);
  }
}

}  // namespace

void MendChangeFiles(const std::filesystem::path& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (IsChangeFileName(entry.path().filename().string())) MendChangeFile(entry.path());
  }
}

}  // namespace convert
