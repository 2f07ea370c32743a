#include "platform/AtomicFile.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace platform {
namespace {}  // namespace

bool WriteFileAtomically(const std::filesystem::path& file, const std::string& content,
                         FileAccess access) {
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path folder = file.parent_path();
  const std::filesystem::path temp =
      folder / ("." + file.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                std::to_string(counter.fetch_add(1)));
  mode_t mode = access == FileAccess::kOwnerOnly ? 0600 : 0644;
  struct stat existing {};
  if (access == FileAccess::kKeep && ::stat(file.c_str(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  }

  FileDescriptor out = FileDescriptor::Open(temp, O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (!out.Valid()) return false;
  bool ok =
      WriteAll(out.Get(), content) && ::fchmod(out.Get(), mode) == 0 && ::fsync(out.Get()) == 0;
  ok = out.Close() && ok;
  if (!ok || ::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  const FileDescriptor dir =
      FileDescriptor::Open(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
  if (dir.Valid()) ::fsync(dir.Get());
  return true;
}

bool ReadWholeFile(const std::filesystem::path& file, std::string& content) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  content = buffer.str();
  return true;
}

}  // namespace platform
