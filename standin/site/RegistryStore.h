#pragma once

#include "platform/Registry.h"

#include <filesystem>
#include <string>
#include <vector>

namespace erp {

using platform::kClassesRoot;
using platform::kCurrentUser;
using platform::kLocalMachine;
using platform::kRegBinary;
using platform::kRegDword;
using platform::kRegDwordBigEndian;
using platform::kRegExpandString;
using platform::kRegMultiString;
using platform::kRegString;
using platform::kUsers;
using platform::RegistryHive;
using platform::RegistryStatus;
using platform::RegistryValue;

/// The stand-in's platform registry, kept in one file.
///
/// Every operation reloads the file, because other processes (the `erp` command among them) write
/// it; a change is written back to a temporary file in the same folder and renamed over the store,
/// so a reader never sees half a file and a crash never leaves a broken store behind.
/// Key paths are separated by backslashes; keys and value names match without regard to case.
class RegistryStore : public platform::Registry {
 public:
  /// Opens the store at its default location (see defaultLocation()).
  RegistryStore();
  /// Opens the store kept in `file`; the file need not exist yet.
  explicit RegistryStore(std::filesystem::path file);

  /// The file named by ORDAVEL_REGISTRY, else $XDG_CONFIG_HOME (or ~/.config)/ordavel-erp/registry.
  static std::filesystem::path defaultLocation();

  /// The file this store reads and writes.
  const std::filesystem::path& file() const { return file_; }

  RegistryStatus OpenKey(RegistryHive hive, const std::string& path) const override;
  RegistryStatus QueryValue(RegistryHive hive, const std::string& path, const std::string& name,
                            RegistryValue& out) const override;
  /// Creates the key and any missing parents; an existing key is left as it is.
  RegistryStatus createKey(RegistryHive hive, const std::string& path);
  /// Sets a value of an existing key, replacing one of the same name.
  RegistryStatus setValue(RegistryHive hive, const std::string& path, const std::string& name,
                          const RegistryValue& value);

 private:
  std::filesystem::path file_;
};

}  // namespace erp
