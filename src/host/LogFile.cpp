#include "host/LogFile.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>

namespace host {
namespace {

std::tm localTime(std::chrono::system_clock::time_point when) {
  std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

std::string format(const std::tm& local, const char* pattern) {
  char buffer[128];
  size_t length = std::strftime(buffer, sizeof buffer, pattern, &local);
  return std::string(buffer, length);
}

bool writeAll(int fd, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

/// Whether a file of `size` bytes ends in the middle of a line: a line written in part when the
/// disk filled up, which the next line must not be glued to.
bool endsInsideLine(int fd, off_t size) {
  char last = '\n';
  return size > 0 && ::pread(fd, &last, 1, size - 1) == 1 && last != '\n';
}

/// Appends whole lines; what does not fit is taken back as far as this writer still owns the end
/// of the file, so a full disk leaves whole lines only.
bool appendLines(int fd, off_t size, std::string lines) {
  if (endsInsideLine(fd, size)) lines.insert(0, "\r\n");
  if (writeAll(fd, lines)) return true;
  struct stat after {};
  if (::fstat(fd, &after) == 0 && after.st_size > size &&
      after.st_size <= size + static_cast<off_t>(lines.size())) {
    static_cast<void>(::ftruncate(fd, size));
  }
  return false;
}

enum class AppendResult { Written, FolderMissing, Failed };

AppendResult appendTo(const std::filesystem::path& target, const std::string& lines) {
  // A link planted where a log belongs would make the program append to a file of someone
  // else's choosing, and a pipe would hang it: only a plain file of its own is written.
  const int fd = ::open(target.c_str(),
                        O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) return errno == ENOENT ? AppendResult::FolderMissing : AppendResult::Failed;
  // Writers of one log take turns, so that the end of the file is never looked at in the middle
  // of another writer's line; the lock goes with the descriptor.
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (ok) ok = appendLines(fd, info.st_size, lines);
  ok = (::close(fd) == 0) && ok;
  return ok ? AppendResult::Written : AppendResult::Failed;
}

}  // namespace

std::string LogStamp(std::chrono::system_clock::time_point when) {
  std::tm local = localTime(when);
  return format(local, "%x") + " " + format(local, "%X");
}

std::string LogDate(std::chrono::system_clock::time_point when) {
  return format(localTime(when), "%Y%m%d");
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
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return size == 0 ? LogTail::None : LogTail::Other;
  const LogTail tail = [&] {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < size) {
      return LogTail::Other;
    }
    if (info.st_size == size) return LogTail::None;
    std::string block = lines;
    if (endsInsideLine(fd, static_cast<off_t>(size))) block.insert(0, "\r\n");
    const size_t held = std::min<size_t>(block.size(), static_cast<size_t>(info.st_size - size));
    std::string found(held, '\0');
    if (::pread(fd, found.data(), held, static_cast<off_t>(size)) != static_cast<ssize_t>(held) ||
        block.compare(0, held, found) != 0) {
      return LogTail::Other;
    }
    return held == block.size() ? LogTail::Whole : LogTail::Partly;
  }();
  ::close(fd);
  return tail;
}

bool TakeBackLog(const std::filesystem::path& file, std::int64_t size) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                  ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  return (::close(fd) == 0) && ok;
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
  AppendResult result = appendTo(onDisk_, lines);
  if (result == AppendResult::FolderMissing && known) {
    if (!Resolve(folder, file)) return false;
    result = appendTo(onDisk_, lines);
  }
  return result == AppendResult::Written;
}

}  // namespace host
