#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace host {

/// The four parts of a file version, as a program's version resource records them.
struct FileVersion {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t build = 0;
  std::uint16_t revision = 0;

  bool operator==(const FileVersion&) const = default;
};

/// The file version of the first fixed file information block (signature 0xFEEF04BD, structure
/// version 1.x) in `bytes`, or nullopt when there is none.
std::optional<FileVersion> FindFileVersion(std::span<const std::uint8_t> bytes);

/// The file version recorded in a program file, or nullopt when the file cannot be read or
/// records none.
std::optional<FileVersion> ReadFileVersion(const std::filesystem::path& file);

}  // namespace host
