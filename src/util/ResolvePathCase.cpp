#include "util/ResolvePathCase.h"

#include <optional>
#include <string>

#include "platform/Text.h"

namespace util {
namespace {

namespace fs = std::filesystem;

bool Present(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

std::optional<fs::path> EntryDifferingInCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  if (ec) return std::nullopt;
  std::optional<std::string> best;
  const std::string wanted = platform::FoldCase(name);
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (platform::FoldCase(candidate) == wanted && (!best || candidate < *best)) best = candidate;
    if (ec) break;
  }
  if (!best) return std::nullopt;
  return folder / *best;
}

}  // namespace

fs::path ResolvePathCase(const fs::path& path) {
  fs::path resolved;
  bool missing = false;
  for (const fs::path& part : path) {
    const std::string name = part.string();
    fs::path next = resolved / part;
    const bool special =
        name == "." || name == ".." || part == path.root_name() || part == path.root_directory();
    if (!missing && !special && !Present(next)) {
      if (auto found = EntryDifferingInCase(resolved, name)) {
        next = *found;
      } else {
        missing = true;
      }
    }
    resolved = std::move(next);
  }
  return resolved;
}

}  // namespace util
