#include "util/ProgramName.h"

#include <cerrno>
#include <filesystem>

namespace util {

std::string ProgramName() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.filename().empty()) return self.filename().string();
  return program_invocation_short_name;
}

}  // namespace util
