#include "util/cRegistry.h"

#include "util/EnvironmentExpansion.h"

#include <algorithm>

namespace util {
namespace {

using platform::RegistryStatus;

std::string StoredText(const std::vector<std::uint8_t>& data) {
  if (data.empty()) return {};
  return std::string(data.begin(), data.end() - 1);
}

std::int32_t StoredNumber(std::vector<std::uint8_t> bytes, bool bigEndian) {
  bytes.resize(4, 0);
  if (bigEndian) std::reverse(bytes.begin(), bytes.end());
  const std::uint32_t raw =
      static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
      (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return static_cast<std::int32_t>(raw);
}

}  // namespace

bool cRegistry::KeyExists() const {
  return store_.OpenKey(classKey_, sectionKey_) == RegistryStatus::kOk;
}

RegValue cRegistry::value() {
  platform::RegistryValue stored;
  if (store_.QueryValue(classKey_, sectionKey_, valueKey_, stored) != RegistryStatus::kOk) {
    return default_;
  }
  valueType_ = stored.type;
  switch (stored.type) {
    case platform::kRegString:
    case platform::kRegMultiString:
      return StoredText(stored.data);
    case platform::kRegExpandString:
      return ExpandEnvironmentReferences(StoredText(stored.data));
    case platform::kRegDword:
      return StoredNumber(stored.data, false);
    case platform::kRegDwordBigEndian:
      return StoredNumber(stored.data, true);
    default:
      return stored.data;
  }
}

}  // namespace util
