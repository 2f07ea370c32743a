#include "host/KindClaim.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include "platform/FileDescriptor.h"
#include "platform/LocalTime.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace host {
namespace {

/// What the holder wrote, read no further than a claim's few lines can reach.
std::string readHolder(int fd) {
  const std::optional<std::int64_t> size = platform::PlainFileSize(fd);
  const std::size_t length =
      static_cast<std::size_t>(std::min<std::int64_t>(size.value_or(0), 4096));
  return platform::ReadExactlyAt(fd, length, 0).value_or("");
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
  platform::FileDescriptor claim =
      platform::FileDescriptor::OpenPlainFile(file, O_RDWR | O_CREAT, 0644);
  if (!claim.Valid()) return;
  if (::flock(claim.Get(), LOCK_EX | LOCK_NB) != 0) {
    const std::string text = readHolder(claim.Get());
    other_ = Holder{lineValue(text, "user"), lineValue(text, "started")};
    return;
  }
  const std::string text = "user=" + user +
                           "\nstarted=" + platform::FormatLocalTime(now, "%Y-%m-%d %H:%M:%S") +
                           "\nprocess=" + std::to_string(::getpid()) + "\n";
  // Who holds the claim is only for the message of a run turned away; a failed write changes
  // nothing about the lock itself.
  if (::ftruncate(claim.Get(), 0) == 0) platform::WriteAllAt(claim.Get(), text, 0);
  file_ = std::move(claim);
}

}  // namespace host
