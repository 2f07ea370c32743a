#include "host/LogFile.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <fcntl.h>
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
  int fd = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = writeAll(fd, LogStamp(when) + " " + LogIndent(iLevel) + text + "\r\n");
  ok = (::close(fd) == 0) && ok;
  return ok;
}

}  // namespace host
