#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/Registry.h"
#include "util/RegValue.h"

namespace util {

/// A registry reader: the caller sets a hive, a key path and a value name, then tests the key or
/// reads the value. Reads never raise: a missing key or value gives the default.
class cRegistry {
 public:
  explicit cRegistry(platform::Registry& store) : store_(store) {}

  /// The root hive handle (0x80000000 classes root ... 0x80000003 users); starts at 0, no hive.
  platform::RegistryHive ClassKey() const { return classKey_; }
  void ClassKey(platform::RegistryHive hive) { classKey_ = hive; }
  /// The backslash-separated key path below the hive.
  const std::string& SectionKey() const { return sectionKey_; }
  void SectionKey(std::string path) { sectionKey_ = std::move(path); }
  /// The value name; the empty text names the key's default value.
  const std::string& ValueKey() const { return valueKey_; }
  void ValueKey(std::string name) { valueKey_ = std::move(name); }
  /// The expected registry type; a successful read replaces it with the stored type.
  std::uint32_t ValueType() const { return valueType_; }
  void ValueType(std::uint32_t type) { valueType_ = type; }
  /// The value returned by a read that finds nothing; starts empty.
  const RegValue& Default() const { return default_; }
  void Default(RegValue fallback) { default_ = std::move(fallback); }

  /// Whether the key can be opened; the value named by ValueKey() is not looked at.
  bool KeyExists() const;
  /// Reads the value named by ValueKey(), or Default() when it cannot be found.
  RegValue value();

 private:
  platform::Registry& store_;
  platform::RegistryHive classKey_ = 0;
  std::string sectionKey_;
  std::string valueKey_;
  std::uint32_t valueType_ = platform::kRegString;
  RegValue default_;
};

}  // namespace util
