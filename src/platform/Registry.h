#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

/// A root hive of the registry, identified by the handle value the ERP's platform gives it.
using RegistryHive = std::uint32_t;

inline constexpr RegistryHive kClassesRoot = 0x80000000;
inline constexpr RegistryHive kCurrentUser = 0x80000001;
inline constexpr RegistryHive kLocalMachine = 0x80000002;
inline constexpr RegistryHive kUsers = 0x80000003;

/// Registry value types the registry knows (other numbers are kept as opaque bytes).
enum RegistryType : std::uint32_t {
  kRegString = 1,
  kRegExpandString = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegMultiString = 7,
};

/// Outcome of one registry operation.
enum class RegistryStatus {
  kOk,
  kNotFound,     ///< the key or value does not exist
  kInvalidHive,  ///< the hive handle names none of the four hives
  kUnreadable,   ///< the registry exists but cannot be read
  kWriteFailed,  ///< the registry could not be written
};

/// One named value: its registry type and its raw bytes (texts include their terminating NUL).
struct RegistryValue {
  std::uint32_t type = kRegString;
  std::vector<std::uint8_t> data;

  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

/// The platform registry as the program reads it: hives of keys with named, typed values.
///
/// Key paths are separated by backslashes; keys and value names match without regard to case.
class Registry {
 public:
  virtual ~Registry() = default;

  /// Tells whether the key exists (kOk) or why it cannot be opened.
  virtual RegistryStatus OpenKey(RegistryHive hive, const std::string& path) const = 0;
  /// Reads a value of an existing key; the empty name is the key's default value.
  virtual RegistryStatus QueryValue(RegistryHive hive, const std::string& path,
                                    const std::string& name, RegistryValue& out) const = 0;
};

}  // namespace platform
