#pragma once

#include <filesystem>

namespace util {

/// The path with each component that does not exist as spelled replaced by the one existing entry
/// of its folder that differs only in the case of ASCII letters (the first in name order when
/// several do); components that match nothing are kept as spelled.
///
/// The ERP's platform matches file names without regard to case and its files rely on it
/// ("COMPANY" and "Company" name one folder), so every file the program opens passes through here.
std::filesystem::path ResolvePathCase(const std::filesystem::path& path);

}  // namespace util
