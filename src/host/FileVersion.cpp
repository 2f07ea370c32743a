#include "host/FileVersion.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace host {
namespace {

constexpr std::uint32_t kSignature = 0xFEEF04BD;
// Signature, structure version, file version (two words), product version (two words), flags
// mask, flags, OS, type, subtype, date (two words).
constexpr std::size_t kBlockSize = 13 * 4;

std::uint32_t DwordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes[offset]) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

}  // namespace

std::optional<FileVersion> FindFileVersion(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kBlockSize) return std::nullopt;
  // Program code can hold the signature's bytes by chance; the structure version tells the real
  // block apart.
  for (std::size_t offset = 0; offset + kBlockSize <= bytes.size(); ++offset) {
    if (DwordAt(bytes, offset) != kSignature || (DwordAt(bytes, offset + 4) >> 16) != 1) continue;
    const std::uint32_t high = DwordAt(bytes, offset + 8);
    const std::uint32_t low = DwordAt(bytes, offset + 12);
    return FileVersion{static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
                       static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low)};
  }
  return std::nullopt;
}

std::optional<FileVersion> ReadFileVersion(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return FindFileVersion(bytes);
}

}  // namespace host
