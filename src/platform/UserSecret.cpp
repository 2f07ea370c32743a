#include "platform/UserSecret.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

[[noreturn]] void Refuse(const std::filesystem::path& file, const std::string& problem) {
  throw UserSecretError("The key file " + file.string() + " " + problem);
}

std::string RandomBytes(const std::filesystem::path& file, std::size_t size) {
  std::string bytes(size, '\0');
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t n = ::getrandom(bytes.data() + filled, size - filled, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Refuse(file, "cannot be made: the system gives no random bytes.");
    filled += static_cast<std::size_t>(n);
  }
  return bytes;
}

void MakeFolders(const std::filesystem::path& folder) {
  std::filesystem::path made;
  for (const auto& part : folder) {
    made /= part;
    if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
      throw UserSecretError("The folder " + made.string() +
                            " cannot be created: " + std::strerror(errno) + ".");
    }
  }
}

/// Writes a new secret beside `file` and links it in place, so that a reader never sees half
/// of it and a secret made meanwhile by another process is kept, not replaced.
void MakeSecret(const std::filesystem::path& file, std::size_t size) {
  MakeFolders(file.parent_path());
  const std::filesystem::path fresh =
      file.string() + ".new" + std::to_string(static_cast<long>(::getpid()));
  ::unlink(fresh.c_str());
  FileDescriptor out = FileDescriptor::Open(fresh, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
  if (!out.Valid()) Refuse(file, std::string("cannot be made: ") + std::strerror(errno) + ".");
  const bool written =
      WriteAll(out.Get(), RandomBytes(file, size)) && ::fsync(out.Get()) == 0 && out.Close();
  const bool linked = written && (::link(fresh.c_str(), file.c_str()) == 0 || errno == EEXIST);
  const int linkError = errno;
  ::unlink(fresh.c_str());
  if (!linked) Refuse(file, std::string("cannot be made: ") + std::strerror(linkError) + ".");
}

/// Refuses a file that others could have read or replaced.
void CheckOwnerOnly(const std::filesystem::path& file, const struct stat& status,
                    std::size_t size) {
  if (!S_ISREG(status.st_mode)) Refuse(file, "is not a plain file; it is not used.");
  if (status.st_uid != ::geteuid()) Refuse(file, "belongs to another user; it is not used.");
  if ((status.st_mode & 07777) != 0600) {
    Refuse(file,
           "may be read or written by others than its owner (its mode is not 0600); it "
           "is not used.");
  }
  if (status.st_size != static_cast<off_t>(size)) {
    Refuse(file, "does not hold a key of " + std::to_string(size) + " bytes; it is not used.");
  }
}

}  // namespace

std::filesystem::path UserConfigFolder() {
  for (const char* name : {"ORDAVEL_CONFIG_HOME", "XDG_CONFIG_HOME"}) {
    const char* value = std::getenv(name);
    if (value && *value) return std::filesystem::path(value) / "Ordavel";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : "") / ".config" / "Ordavel";
}

std::string UserSecret(const std::filesystem::path& file, std::size_t size, bool create) {
  struct stat status {};
  if (::lstat(file.c_str(), &status) != 0) {
    if (errno != ENOENT) Refuse(file, std::string("cannot be read: ") + std::strerror(errno) + ".");
    if (!create) return {};
    MakeSecret(file, size);
  }
  FileDescriptor in = FileDescriptor::Open(file, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (!in.Valid() && errno == ELOOP) Refuse(file, "is not a plain file; it is not used.");
  if (!in.Valid()) Refuse(file, std::string("cannot be read: ") + std::strerror(errno) + ".");
  // The checks are made on the file that is open, so that nothing swapped in after them is read.
  if (::fstat(in.Get(), &status) != 0) Refuse(file, "cannot be read.");
  CheckOwnerOnly(file, status, size);
  std::optional<std::string> secret = ReadExactlyAt(in.Get(), size, 0);
  if (!secret) Refuse(file, "cannot be read whole.");
  return *secret;
}

}  // namespace platform
