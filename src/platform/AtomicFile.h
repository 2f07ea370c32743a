#pragma once

#include <filesystem>
#include <string>

namespace platform {

/// Who may read a file that WriteFileAtomically writes.
enum class FileAccess {
  kKeep,       ///< an existing file keeps its permissions; a new one is readable by everyone
  kOwnerOnly,  ///< only the owner may read and write it, whatever the file allowed before
};

/// Replaces the file's content in one step: the text goes to a temporary file in the same folder,
/// is flushed to disk and renamed over the file, so a crash leaves either the old or the new file.
/// Returns false when any step fails.
bool WriteFileAtomically(const std::filesystem::path& file, const std::string& content,
                         FileAccess access = FileAccess::kKeep);

/// Reads a whole file into `content`; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& content);

}  // namespace platform
