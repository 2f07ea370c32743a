#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace erp {

/// A root hive of the registry, identified by the handle value the ERP's platform gives it.
using RegistryHive = std::uint32_t;

inline constexpr RegistryHive kClassesRoot = 0x80000000;
inline constexpr RegistryHive kCurrentUser = 0x80000001;
inline constexpr RegistryHive kLocalMachine = 0x80000002;
inline constexpr RegistryHive kUsers = 0x80000003;

/// Registry value types the store keeps (other numbers are kept as opaque bytes).
enum RegistryType : std::uint32_t {
  kRegString = 1,
  kRegExpandString = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegMultiString = 7,
};

/// Outcome of one store operation.
enum class RegistryStatus {
  kOk,
  kNotFound,     ///< the key or value does not exist
  kInvalidHive,  ///< the hive handle names none of the four hives
  kInvalidKey,   ///< the key path cannot be used for the operation (e.g. deleting a hive)
  kUnreadable,   ///< the store file exists but is not a store of a known version
  kWriteFailed,  ///< the store file could not be written
};

/// One named value: its registry type and its raw bytes (texts include their terminating NUL).
struct RegistryValue {
  std::uint32_t type = kRegString;
  std::vector<std::uint8_t> data;

  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

/// The stand-in for the platform registry: hives of keys with named typed values, kept in one file.
///
/// Every operation reloads the file, because other processes (the `erp` command among them) write
/// it; a change is written back to a temporary file in the same folder and renamed over the store,
/// so a reader never sees half a file and a crash never leaves a broken store behind.
/// Key paths are separated by backslashes; keys and value names match without regard to case.
class RegistryStore {
 public:
  /// Opens the store at its default location (see defaultLocation()).
  RegistryStore();
  /// Opens the store kept in `file`; the file need not exist yet.
  explicit RegistryStore(std::filesystem::path file);

  /// The file named by ORDAVEL_REGISTRY, else $XDG_CONFIG_HOME (or ~/.config)/ordavel-erp/registry.
  static std::filesystem::path defaultLocation();

  /// The file this store reads and writes.
  const std::filesystem::path& file() const { return file_; }

  /// Tells whether the key exists (kOk) or why it cannot be opened.
  RegistryStatus openKey(RegistryHive hive, const std::string& path) const;
  /// Creates the key and any missing parents; an existing key is left as it is.
  RegistryStatus createKey(RegistryHive hive, const std::string& path);
  /// Deletes the key with all its sub-keys and values.
  RegistryStatus deleteKey(RegistryHive hive, const std::string& path);
  /// Reads a value of an existing key; the empty name is the key's default value.
  RegistryStatus queryValue(RegistryHive hive, const std::string& path, const std::string& name,
                            RegistryValue& out) const;
  /// Sets a value of an existing key, replacing one of the same name.
  RegistryStatus setValue(RegistryHive hive, const std::string& path, const std::string& name,
                          const RegistryValue& value);
  /// Deletes a value of an existing key.
  RegistryStatus deleteValue(RegistryHive hive, const std::string& path, const std::string& name);
  /// Lists the value names of a key in the order they were first set.
  RegistryStatus enumerateValues(RegistryHive hive, const std::string& path,
                                 std::vector<std::string>& names) const;
  /// Lists the names of a key's direct sub-keys in alphabetical order, ignoring case.
  RegistryStatus enumerateSubKeys(RegistryHive hive, const std::string& path,
                                  std::vector<std::string>& names) const;

 private:
  std::filesystem::path file_;
};

}  // namespace erp
