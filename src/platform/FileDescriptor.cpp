#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.Release();
  }
  return *this;
}

FileDescriptor FileDescriptor::Open(const std::filesystem::path& path, int flags, mode_t mode) {
  return FileDescriptor(::open(path.c_str(), flags | O_CLOEXEC, mode));
}

FileDescriptor FileDescriptor::OpenPlainFile(const std::filesystem::path& path, int flags,
                                             mode_t mode) {
  FileDescriptor file = Open(path, flags | O_NOFOLLOW | O_NONBLOCK, mode);
  if (file.Valid() && !PlainFileSize(file.Get())) file.Close();
  return file;
}

int FileDescriptor::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool FileDescriptor::Close() {
  if (fd_ < 0) return true;
  return ::close(Release()) == 0;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool WriteAllAt(int fd, std::string_view bytes, std::int64_t offset) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += n;
  }
  return true;
}

std::optional<std::string> ReadUpToAt(int fd, std::size_t size, std::int64_t offset) {
  std::string bytes(size, '\0');
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n =
        ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(offset) + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

std::optional<std::string> ReadExactlyAt(int fd, std::size_t size, std::int64_t offset) {
  std::optional<std::string> bytes = ReadUpToAt(fd, size, offset);
  if (!bytes || bytes->size() != size) return std::nullopt;
  return bytes;
}

std::optional<std::string> ReadToEnd(int fd) {
  std::string text;
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return text;
    text.append(buffer, static_cast<size_t>(n));
  }
}

std::optional<std::int64_t> PlainFileSize(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::int64_t>(info.st_size);
}

}  // namespace platform
