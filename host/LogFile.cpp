#include "host/LogFile.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

/// Appends one line; a line that does not fit is taken back as far as this writer still owns
/// the end of the file, so a full disk leaves whole lines only.
bool appendLine(int fd, off_t size, std::string line) {
  if (endsInsideLine(fd, size)) line.insert(0, "\r\n");
  if (writeAll(fd, line)) return true;
  struct stat after {};
  if (::fstat(fd, &after) == 0 && after.st_size > size &&
      after.st_size <= size + static_cast<off_t>(line.size())) {
    static_cast<void>(::ftruncate(fd, size));
  }
  return false;
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

bool AppendLogLine(const std::string& folder, const std::string& file,
                   std::chrono::system_clock::time_point when, std::int16_t iLevel,
                   const std::string& text) {
  std::filesystem::path resolved = util::ResolvePathCase(folder);
  std::error_code error;
  if (!std::filesystem::is_directory(resolved, error)) {
    // Only the last level is created: a missing company folder means the wrong place.
    if (!std::filesystem::create_directory(resolved, error)) return false;
  }
  std::filesystem::path target = util::ResolvePathCase(util::JoinPath(resolved.string(), file));
  // A link planted where a log belongs would make the program append to a file of someone
  // else's choosing, and a pipe would hang it: only a plain file of its own is written.
  const int fd = ::open(target.c_str(),
                        O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (ok)
    ok = appendLine(fd, info.st_size, LogStamp(when) + " " + LogIndent(iLevel) + text + "\r\n");
  ok = (::close(fd) == 0) && ok;
  return ok;
}

}  // namespace host
