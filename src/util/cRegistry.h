#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "util/ProgramName.h"
#include "util/RegValue.h"

namespace util {

/// Error number of every failure raised by cRegistry.
inline constexpr long kRegistryErrorNumber = 26001;

/// A registry wrapper: the caller sets a hive, a key path, a value name and a type, then reads,
/// writes, tests or deletes.
///
/// Reads never raise (a missing key or value gives the default); writes, creates and deletes
/// raise util::Error with number 26001 and source "<program>.cRegistry".
class cRegistry {
 public:
  /// A wrapper over `store`; `programName` names the source of raised errors.
  explicit cRegistry(platform::Registry& store, std::string programName = ProgramName());

  /// The root hive handle (0x80000000 classes root ... 0x80000003 users); starts at 0, no hive.
  platform::RegistryHive ClassKey() const { return classKey_; }
  void ClassKey(platform::RegistryHive hive) { classKey_ = hive; }
  /// The backslash-separated key path below the hive.
  const std::string& SectionKey() const { return sectionKey_; }
  void SectionKey(std::string path) { sectionKey_ = std::move(path); }
  /// The value name; the empty text names the key's default value.
  const std::string& ValueKey() const { return valueKey_; }
  void ValueKey(std::string name) { valueKey_ = std::move(name); }
  /// The registry type used for writing; a successful read replaces it with the stored type.
  std::uint32_t ValueType() const { return valueType_; }
  void ValueType(std::uint32_t type) { valueType_ = type; }
  /// The value returned by a read that finds nothing; starts empty.
  const RegValue& Default() const { return default_; }
  void Default(RegValue fallback) { default_ = std::move(fallback); }
  /// A remote computer name, kept for callers; the stand-in store is always the local one.
  const std::string& Machine() const { return machine_; }
  /// Stores a name of three or more characters with "\\" in front, a shorter one as "".
  void Machine(const std::string& name);

  /// Whether the key can be opened; the value named by ValueKey() is not looked at.
  bool KeyExists() const;
  /// Creates the key; raises on failure.
  bool CreateKey();
  /// Deletes the key with its sub-keys; raises on failure.
  bool DeleteKey();
  /// Deletes the value named by ValueKey(); raises on failure.
  bool DeleteValue();

  /// Reads the value named by ValueKey(), or Default() when it cannot be found.
  RegValue value();
  /// Writes the value named by ValueKey() as ValueType(); raises on failure.
  void value(const RegValue& newValue);
  /// Sets the five properties, then reads.
  RegValue ValueEx(platform::RegistryHive eKey, std::string sSectionKey, std::string sValueKey,
                   std::uint32_t eValueType, RegValue vDefault);
  /// Sets the five properties, then writes `newValue`.
  void ValueEx(platform::RegistryHive eKey, std::string sSectionKey, std::string sValueKey,
               std::uint32_t eValueType, RegValue vDefault, const RegValue& newValue);

  /// The value names of the key in sKeyNames[1..iKeyCount] (element 0 is unused).
  bool EnumerateValues(std::vector<std::string>& sKeyNames, int& iKeyCount) const;
  /// The sub-key names of the key in sSect[1..iSectCount] (element 0 is unused).
  bool EnumerateSections(std::vector<std::string>& sSect, int& iSectCount) const;

  /// Registers a file type opened by an executable, under the classes root and
  /// SOFTWARE\Classes of the local machine.
  void CreateEXEAssociation(const std::string& sExePath, const std::string& sClassName,
                            const std::string& sClassDescription, const std::string& sAssociation,
                            const std::string& sOpenMenuText, bool bSupportPrint,
                            const std::string& sPrintMenuText, bool bSupportNew,
                            const std::string& sNewMenuText, bool bSupportInstall,
                            const std::string& sInstallMenuText, std::int32_t lDefaultIconIndex);
  /// Adds verbs to a registered class from name, menu text, command triples.
  void CreateAdditionalEXEAssociations(const std::string& sClassName,
                                       const std::vector<std::string>& vItems);

 private:
  [[noreturn]] void raise(const std::string& message) const;
  std::string keySectionText() const;
  void writeClassEntry(const std::string& subKey, const std::string& text);
  void writeVerb(const std::string& className, const std::string& verb, const std::string& menuText,
                 const std::string& command);

  platform::Registry& store_;
  std::string programName_;
  platform::RegistryHive classKey_ = 0;
  std::string sectionKey_;
  std::string valueKey_;
  std::uint32_t valueType_ = platform::kRegString;
  RegValue default_;
  std::string machine_;
};

}  // namespace util
