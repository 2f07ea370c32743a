#include "host/KindClaim.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <ctime>
#include <filesystem>

namespace host {
namespace {

std::string localTimeText(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char buffer[32];
  const size_t length = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(buffer, length);
}

std::string readAll(int fd) {
  std::string text;
  char buffer[256];
  ssize_t n = 0;
  while ((n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0) {
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > 4096) break;
  }
  return text;
}

std::string lineValue(const std::string& text, const std::string& key) {
  const size_t at = text.find(key + "=");
  if (at == std::string::npos) return {};
  const size_t start = at + key.size() + 1;
  return text.substr(start, text.find('\n', start) - start);
}

}  // namespace

KindClaim::KindClaim(const std::string& logFolder, const std::string& logName,
                     const std::string& user, std::chrono::system_clock::time_point now) {
  const std::filesystem::path folder = util::ResolvePathCase(logFolder);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    std::filesystem::create_directory(folder, error);
  const std::filesystem::path file = folder / ("." + logName + ".lock");
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const std::string text = readAll(fd);
    ::close(fd);
    other_ = Holder{lineValue(text, "user"), lineValue(text, "started")};
    return;
  }
  const std::string text = "user=" + user + "\nstarted=" + localTimeText(now) +
                           "\nprocess=" + std::to_string(::getpid()) + "\n";
  // Who holds the claim is only for the message of a run turned away; a failed write changes
  // nothing about the lock itself.
  if (::ftruncate(fd, 0) == 0) {
    const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
    static_cast<void>(written);
  }
  fd_ = fd;
}

KindClaim::~KindClaim() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace host
