#include "host/KindClaim.h"

#include "platform/LocalTime.h"
#include "util/ResolvePathCase.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace host {
namespace {

/// How often a claim file replaced between its opening and its locking is tried again.
constexpr int kAttempts = 3;

/// What the holder wrote, read no further than a claim's few lines can reach.
std::string ReadHolder(int fd) {
  return platform::ReadUpToAt(fd, 4096, 0).value_or("");
}

std::string LineValue(const std::string& text, const std::string& key) {
  const size_t at = text.find(key + "=");
  if (at == std::string::npos) return {};
  const size_t start = at + key.size() + 1;
  return text.substr(start, text.find('\n', start) - start);
}

/// Why the claim file could not be opened, from the error of the attempt.
std::string OpenProblem(int error) {
  switch (error) {
    case ELOOP:
      return "is a symbolic link";
    case EISDIR:
      return "is a folder";
    default:
      return std::string("cannot be opened: ") + std::strerror(error);
  }
}

bool NamesFile(const std::filesystem::path& path, dev_t device, ino_t inode) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && info.st_dev == device && info.st_ino == inode;
}

}  // namespace

KindClaim::KindClaim(const std::string& logFolder, const std::string& logName,
                     const std::string& user, std::chrono::system_clock::time_point now) {
  const std::filesystem::path folder = util::ResolvePathCase(logFolder);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    std::filesystem::create_directory(folder, error);
  path_ = folder / ("." + logName + ".lock");
  // A folder nobody can write would lose the run's log lines and the stage that carries a batch
  // across a kill, whether or not a claim file from an earlier run is still there to lock.
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    problem_ = "the log folder " + folder.string() + " cannot be written: " + std::strerror(errno);
    return;
  }
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (TryClaim(user, now)) return;
  }
  Refuse("was replaced each time it was locked");
}

bool KindClaim::TryClaim(const std::string& user, std::chrono::system_clock::time_point now) {
  // Never through a link, and a pipe planted there must not hang the run.
  platform::FileDescriptor claim =
      platform::FileDescriptor::Open(path_, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (!claim.Valid()) {
    Refuse(OpenProblem(errno));
    return true;
  }
  struct stat info {};
  if (::fstat(claim.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    Refuse("is not a plain file");
    return true;
  }
  // A second name would let the holder text be written into whatever file it also names.
  if (info.st_nlink > 1) {
    Refuse("has other names (hard links)");
    return true;
  }
  if (::flock(claim.Get(), LOCK_EX | LOCK_NB) != 0) {
    const int lockError = errno;
    if (lockError != EWOULDBLOCK) {
      Refuse(std::string("cannot be locked: ") + std::strerror(lockError));
      return true;
    }
    const std::string text = ReadHolder(claim.Get());
    other_ = Holder{LineValue(text, "user"), LineValue(text, "started")};
    return true;
  }
  // Locked only once the folder still names it: a file deleted or replaced meanwhile may be
  // locked by nobody while another run locks the one now there.
  if (!NamesFile(path_, info.st_dev, info.st_ino)) return false;
  const std::string text = "user=" + user +
                           "\nstarted=" + platform::FormatLocalTime(now, "%Y-%m-%d %H:%M:%S") +
                           "\nprocess=" + std::to_string(::getpid()) + "\n";
  // Who holds the claim is only for the message of a run turned away; a failed write changes
  // nothing about the lock itself.
  if (::ftruncate(claim.Get(), 0) == 0) platform::WriteAllAt(claim.Get(), text, 0);
  lock_ = std::move(claim);
  device_ = info.st_dev;
  inode_ = info.st_ino;
  return true;
}

void KindClaim::Refuse(const std::string& why) {
  problem_ = "the claim file " + path_.string() + " " + why;
}

bool KindClaim::StillHeld() const {
  return Held() && NamesFile(path_, device_, inode_);
}

}  // namespace host
