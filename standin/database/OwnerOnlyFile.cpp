#include "standin/database/OwnerOnlyFile.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace erp {

void createOwnerOnlyFile(const std::filesystem::path& file) {
  const platform::FileDescriptor created =
      platform::FileDescriptor::Open(file, O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (!created.Valid()) {
    throw std::runtime_error("Cannot create " + file.string() + ": " + std::strerror(errno) + ".");
  }
  // The umask may only take permissions away, but a mode set explicitly cannot be widened by it.
  ::fchmod(created.Get(), 0600);
}

}  // namespace erp
