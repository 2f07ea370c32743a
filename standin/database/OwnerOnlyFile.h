#pragma once

#include <filesystem>

namespace erp {

/// Creates an empty file that only its owner may read and write; throws std::runtime_error when
/// the file exists already or cannot be created. Databases of the site are created through it
/// before SQLite opens them, so that their journals get the same mode.
void createOwnerOnlyFile(const std::filesystem::path& file);

}  // namespace erp
