#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// An open file descriptor, closed when its owner goes; it moves, it is never copied.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  /// Opens `path` with `flags`, never to be inherited by a program started later; an invalid
  /// descriptor when it cannot be opened, errno telling why.
  static FileDescriptor Open(const std::filesystem::path& path, int flags, mode_t mode = 0);
  /// Opens a plain file only: never through a symbolic link, and a pipe or a device found at
  /// `path` neither hangs the program nor is kept (the descriptor is then invalid).
  static FileDescriptor OpenPlainFile(const std::filesystem::path& path, int flags,
                                      mode_t mode = 0);

  bool Valid() const { return fd_ >= 0; }
  int Get() const { return fd_; }
  /// Gives the descriptor up without closing it.
  int Release();
  /// Closes the descriptor now; false when closing reported an error, which can mean that
  /// written data did not reach the file.
  bool Close();

 private:
  int fd_ = -1;
};

/// Writes all of `bytes` at the descriptor's position, going on after short writes and
/// interrupts; false when the system refused.
bool WriteAll(int fd, std::string_view bytes);
/// Writes all of `bytes` at `offset`, leaving the descriptor's position alone.
bool WriteAllAt(int fd, std::string_view bytes, std::int64_t offset);
/// Exactly `size` bytes at `offset`; nothing when fewer could be read.
std::optional<std::string> ReadExactlyAt(int fd, std::size_t size, std::int64_t offset);
/// Up to `size` bytes at `offset`, fewer only where the file ends; nothing when reading failed.
std::optional<std::string> ReadUpToAt(int fd, std::size_t size, std::int64_t offset);
/// What is left to read from the descriptor's position on; nothing when reading failed.
std::optional<std::string> ReadToEnd(int fd);
/// The size of the plain file open at `fd`; nothing when it is no plain file.
std::optional<std::int64_t> PlainFileSize(int fd);

}  // namespace platform
