#include "standin/database/OwnerOnlyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace erp {

void createOwnerOnlyFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    throw std::runtime_error("Cannot create " + file.string() + ": " + std::strerror(errno) + ".");
  }
  // The umask may only take permissions away, but a mode set explicitly cannot be widened by it.
  ::fchmod(fd, 0600);
  ::close(fd);
}

}  // namespace erp
