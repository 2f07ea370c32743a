#include "host/FileVersion.h"

#include <gtest/gtest.h>

#include <vector>

namespace host {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putDword(Bytes& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

/// A fixed file information block of 52 bytes with this structure version and file version.
Bytes block(std::uint32_t structVersion, std::uint32_t high, std::uint32_t low) {
  Bytes bytes;
  putDword(bytes, 0xFEEF04BD);
  putDword(bytes, structVersion);
  putDword(bytes, high);
  putDword(bytes, low);
  for (int rest = 0; rest < 9; ++rest) putDword(bytes, 0);
  return bytes;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes truncated(Bytes bytes) {
  bytes.pop_back();
  return bytes;
}

TEST(FindFileVersionTest, FindsTheFirstBlockWithTheRightStructureVersionAnywhere) {
  auto check = [&](const char* name, const Bytes& bytes,
                   const std::optional<FileVersion>& expected) {
    EXPECT_EQ(expected, FindFileVersion(bytes)) << name;
  };
  check("AtAnOddOffset", concat({Bytes(37, 0xCC), block(0x10000, 0x60000, 0x10019)}),
        FileVersion{6, 0, 1, 25});
  check("AtTheStart", block(0x10000, 0x00060006, 0x00000028), FileVersion{6, 6, 0, 40});
  check("WithLargeParts", block(0x10000, 0xFFFF0102, 0x8000FFFE),
        FileVersion{0xFFFF, 0x0102, 0x8000, 0xFFFE});
  check("AfterASignatureWithAWrongStructureVersion",
        concat({block(0x20000, 0x10001, 0x10001), Bytes(3, 0), block(0x10000, 0x50001, 0x2)}),
        FileVersion{5, 1, 0, 2});
  check("NotInAFileWithoutOne", Bytes(200, 0xBD), std::nullopt);
  check("NotInATruncatedBlock", truncated(block(0x10000, 0x60000, 0x10019)), std::nullopt);
  check("NotInNothing", Bytes{}, std::nullopt);
}

}  // namespace
}  // namespace host
