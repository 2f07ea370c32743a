#pragma once

#include <filesystem>

namespace erp {

/// The shared-data folder of a site folder: DIR/SharedData when it exists, else DIR itself, so
/// that commands accept both a whole site and a bare shared-data folder.
std::filesystem::path sharedDataOf(const std::filesystem::path& siteDir);

}  // namespace erp
