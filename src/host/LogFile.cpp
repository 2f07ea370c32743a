#include "host/LogFile.h"

#include "platform/FileDescriptor.h"
#include "platform/LocalTime.h"
#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

namespace host {
namespace {

/// Whether a file of `size` bytes ends in the middle of a line: a line written in part when the
/// disk filled up, which the next line must not be glued to.
bool EndsInsideLine(int fd, off_t size) {
  if (size == 0) return false;
  const std::optional<std::string> last = platform::ReadExactlyAt(fd, 1, size - 1);
  return last && *last != "\n";
}

/// Appends whole lines; what does not fit is taken back as far as this writer still owns the end
/// of the file, so a full disk leaves whole lines only.
bool AppendLines(int fd, off_t size, std::string lines) {
  if (EndsInsideLine(fd, size)) lines.insert(0, "\r\n");
  if (platform::WriteAll(fd, lines)) return true;
  const std::optional<std::int64_t> after = platform::PlainFileSize(fd);
  if (after && *after > size && *after <= size + static_cast<off_t>(lines.size())) {
    static_cast<void>(::ftruncate(fd, size));
  }
  return false;
}

enum class AppendResult { Written, FolderMissing, Failed };

AppendResult AppendTo(const std::filesystem::path& target, const std::string& lines) {
  // A link planted where a log belongs would make the program append to a file of someone
  // else's choosing, and a pipe would hang it: only a plain file of its own is written.
  platform::FileDescriptor file = platform::FileDescriptor::Open(
      target, O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (!file.Valid()) return errno == ENOENT ? AppendResult::FolderMissing : AppendResult::Failed;
  // Writers of one log take turns, so that the end of the file is never looked at in the middle
  // of another writer's line; the lock goes with the descriptor.
  while (::flock(file.Get(), LOCK_EX) != 0 && errno == EINTR) {
  }
  const std::optional<std::int64_t> size = platform::PlainFileSize(file.Get());
  bool ok = size && AppendLines(file.Get(), static_cast<off_t>(*size), lines);
  ok = file.Close() && ok;
  return ok ? AppendResult::Written : AppendResult::Failed;
}

}  // namespace

std::string LogStamp(std::chrono::system_clock::time_point when) {
  const std::tm local = platform::LocalTime(when);
  return platform::FormatTime(local, "%x") + " " + platform::FormatTime(local, "%X");
}

std::string LogDate(std::chrono::system_clock::time_point when) {
  return platform::FormatLocalTime(when, "%Y%m%d");
}

std::string LogIndent(std::int16_t iLevel) {
  std::string indent;
  for (int i = 0; i < iLevel; ++i) indent += "    ";
  return indent;
}

std::string LogLineText(std::chrono::system_clock::time_point when, std::int16_t iLevel,
                        const std::string& text) {
  return LogStamp(when) + " " + LogIndent(iLevel) + text + "\r\n";
}

bool AppendLogLine(const std::string& folder, const std::string& file,
                   std::chrono::system_clock::time_point when, std::int16_t iLevel,
                   const std::string& text) {
  return LogFileTarget().Append(folder, file, LogLineText(when, iLevel, text));
}

LogTail LogTailAt(const std::filesystem::path& file, std::int64_t size, const std::string& lines) {
  const platform::FileDescriptor log =
      platform::FileDescriptor::Open(file, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (!log.Valid()) return size == 0 ? LogTail::None : LogTail::Other;
  const int fd = log.Get();
  const std::optional<std::int64_t> logSize = platform::PlainFileSize(fd);
  if (!logSize || *logSize < size) return LogTail::Other;
  if (*logSize == size) return LogTail::None;
  std::string block = lines;
  if (EndsInsideLine(fd, static_cast<off_t>(size))) block.insert(0, "\r\n");
  const size_t held = std::min<size_t>(block.size(), static_cast<size_t>(*logSize - size));
  const std::optional<std::string> found = platform::ReadExactlyAt(fd, held, size);
  if (!found || block.compare(0, held, *found) != 0) return LogTail::Other;
  return held == block.size() ? LogTail::Whole : LogTail::Partly;
}

bool TakeBackLog(const std::filesystem::path& file, std::int64_t size) {
  platform::FileDescriptor log = platform::FileDescriptor::OpenPlainFile(file, O_WRONLY);
  if (!log.Valid()) return false;
  const bool ok = ::ftruncate(log.Get(), static_cast<off_t>(size)) == 0;
  return log.Close() && ok;
}

std::int64_t LogFileTarget::Size(const std::string& folder, const std::string& file) {
  if ((onDisk_.empty() || folder != folder_ || file != file_) && !Resolve(folder, file)) return 0;
  struct stat info {};
  return ::stat(onDisk_.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

bool LogFileTarget::Resolve(const std::string& folder, const std::string& file) {
  folder_ = folder;
  file_ = file;
  onDisk_.clear();
  std::filesystem::path resolved = util::ResolvePathCase(folder);
  std::error_code error;
  // Only the last level is created: a missing company folder means the wrong place. Another
  // writer may create it between the look and the creation; that is as good.
  if (!std::filesystem::is_directory(resolved, error) &&
      !std::filesystem::create_directory(resolved, error) &&
      !std::filesystem::is_directory(resolved, error)) {
    return false;
  }
  onDisk_ = util::ResolvePathCase(util::JoinPath(resolved.string(), file));
  return true;
}

bool LogFileTarget::Append(const std::string& folder, const std::string& file,
                           const std::string& lines) {
  const bool known = !onDisk_.empty() && folder == folder_ && file == file_;
  if (!known && !Resolve(folder, file)) return false;
  AppendResult result = AppendTo(onDisk_, lines);
  if (result == AppendResult::FolderMissing && known) {
    if (!Resolve(folder, file)) return false;
    result = AppendTo(onDisk_, lines);
  }
  return result == AppendResult::Written;
}

}  // namespace host
