#include "util/cRegistry.h"

#include <algorithm>
#include <utility>

#include "util/EnvironmentExpansion.h"
#include "util/Error.h"

namespace util {
namespace {

using platform::RegistryStatus;

constexpr const char* kClassesPrefix = "SOFTWARE\\Classes\\";

// A text is stored as expandable when it holds a reference such as "%X%": a percent sign and
// another one at least two characters further on.
bool looksExpandable(const std::string& text) {
  const size_t first = text.find('%');
  return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

std::string storedText(const std::vector<std::uint8_t>& data) {
  if (data.empty()) return {};
  return std::string(data.begin(), data.end() - 1);
}

std::int32_t storedNumber(std::vector<std::uint8_t> bytes, bool bigEndian) {
  bytes.resize(4, 0);
  if (bigEndian) std::reverse(bytes.begin(), bytes.end());
  const std::uint32_t raw =
      static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
      (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return static_cast<std::int32_t>(raw);
}

std::vector<std::uint8_t> numberBytes(std::int32_t number) {
  const auto raw = static_cast<std::uint32_t>(number);
  return {static_cast<std::uint8_t>(raw), static_cast<std::uint8_t>(raw >> 8),
          static_cast<std::uint8_t>(raw >> 16), static_cast<std::uint8_t>(raw >> 24)};
}

std::string orDefault(const std::string& text, const std::string& fallback) {
  return text.empty() ? fallback : text;
}

}  // namespace

cRegistry::cRegistry(platform::Registry& store, std::string programName)
    : store_(store), programName_(std::move(programName)) {}

void cRegistry::Machine(const std::string& name) {
  if (name.size() < 3) {
    machine_.clear();
  } else if (name.rfind("\\\\", 0) == 0) {
    machine_ = name;
  } else {
    machine_ = "\\\\" + name;
  }
}

void cRegistry::raise(const std::string& message) const {
  throw Error(kRegistryErrorNumber, programName_ + ".cRegistry", message);
}

std::string cRegistry::keySectionText() const {
  return "'" + std::to_string(classKey_) + "',Section: '" + sectionKey_;
}

bool cRegistry::KeyExists() const {
  return store_.openKey(classKey_, sectionKey_) == RegistryStatus::kOk;
}

bool cRegistry::CreateKey() {
  if (store_.createKey(classKey_, sectionKey_) != RegistryStatus::kOk) {
    raise("Failed to create registry Key: '" + sectionKey_);
  }
  return true;
}

bool cRegistry::DeleteKey() {
  if (store_.deleteKey(classKey_, sectionKey_) != RegistryStatus::kOk) {
    raise("Failed to delete registry Key: " + keySectionText());
  }
  return true;
}

bool cRegistry::DeleteValue() {
  if (store_.openKey(classKey_, sectionKey_) != RegistryStatus::kOk) {
    raise("Failed to open key " + keySectionText() + "' for delete access");
  }
  if (store_.deleteValue(classKey_, sectionKey_, valueKey_) != RegistryStatus::kOk) {
    raise("Failed to delete registry Key: " + keySectionText() + "',Key: '" + valueKey_);
  }
  return true;
}

RegValue cRegistry::value() {
  platform::RegistryValue stored;
  if (store_.queryValue(classKey_, sectionKey_, valueKey_, stored) != RegistryStatus::kOk) {
    return default_;
  }
  valueType_ = stored.type;
  switch (stored.type) {
    case platform::kRegString:
    case platform::kRegMultiString:
      return storedText(stored.data);
    case platform::kRegExpandString:
      return ExpandEnvironmentReferences(storedText(stored.data));
    case platform::kRegDword:
      return storedNumber(stored.data, false);
    case platform::kRegDwordBigEndian:
      return storedNumber(stored.data, true);
    default:
      return stored.data;
  }
}

void cRegistry::value(const RegValue& newValue) {
  const auto fail = [&] {
    raise("Failed to set registry value Key: " + keySectionText() + "',Key: '" + valueKey_ +
          "' to value: '" + RegValueText(newValue) + "'");
  };
  if (store_.createKey(classKey_, sectionKey_) != RegistryStatus::kOk) fail();

  platform::RegistryValue stored;
  switch (valueType_) {
    case platform::kRegString:
    case platform::kRegExpandString: {
      const std::string text = RegValueText(newValue);
      stored.type = looksExpandable(text) ? platform::kRegExpandString : platform::kRegString;
      stored.data.assign(text.begin(), text.end());
      stored.data.push_back(0);
      break;
    }
    case platform::kRegBinary: {
      const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&newValue);
      if (!bytes) fail();
      stored.type = platform::kRegBinary;
      stored.data = *bytes;
      break;
    }
    case platform::kRegDword:
    case platform::kRegDwordBigEndian: {
      const auto* number = std::get_if<std::int32_t>(&newValue);
      if (!number) return;
      stored.type = platform::kRegDword;
      stored.data = numberBytes(*number);
      break;
    }
    default:
      fail();
  }
  if (store_.setValue(classKey_, sectionKey_, valueKey_, stored) != RegistryStatus::kOk) fail();
}

RegValue cRegistry::ValueEx(platform::RegistryHive eKey, std::string sSectionKey,
                            std::string sValueKey, std::uint32_t eValueType, RegValue vDefault) {
  classKey_ = eKey;
  sectionKey_ = std::move(sSectionKey);
  valueKey_ = std::move(sValueKey);
  valueType_ = eValueType;
  default_ = std::move(vDefault);
  return value();
}

void cRegistry::ValueEx(platform::RegistryHive eKey, std::string sSectionKey, std::string sValueKey,
                        std::uint32_t eValueType, RegValue vDefault, const RegValue& newValue) {
  classKey_ = eKey;
  sectionKey_ = std::move(sSectionKey);
  valueKey_ = std::move(sValueKey);
  valueType_ = eValueType;
  default_ = std::move(vDefault);
  value(newValue);
}

bool cRegistry::EnumerateValues(std::vector<std::string>& sKeyNames, int& iKeyCount) const {
  std::vector<std::string> names;
  const bool found = store_.enumerateValues(classKey_, sectionKey_, names) == RegistryStatus::kOk;
  sKeyNames.assign(1, std::string());
  sKeyNames.insert(sKeyNames.end(), names.begin(), names.end());
  iKeyCount = static_cast<int>(names.size());
  return found;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& sSect, int& iSectCount) const {
  std::vector<std::string> names;
  const bool found = store_.enumerateSubKeys(classKey_, sectionKey_, names) == RegistryStatus::kOk;
  sSect.assign(1, std::string());
  sSect.insert(sSect.end(), names.begin(), names.end());
  iSectCount = static_cast<int>(names.size());
  return found;
}

void cRegistry::writeClassEntry(const std::string& subKey, const std::string& text) {
  ValueEx(platform::kClassesRoot, subKey, "", platform::kRegString, RegValue{}, text);
  ValueEx(platform::kLocalMachine, kClassesPrefix + subKey, "", platform::kRegString, RegValue{},
          text);
}

void cRegistry::writeVerb(const std::string& className, const std::string& verb,
                          const std::string& menuText, const std::string& command) {
  const std::string verbKey = className + "\\shell\\" + verb;
  writeClassEntry(verbKey, menuText);
  writeClassEntry(verbKey + "\\command", command);
}

void cRegistry::CreateEXEAssociation(const std::string& sExePath, const std::string& sClassName,
                                     const std::string& sClassDescription,
                                     const std::string& sAssociation,
                                     const std::string& sOpenMenuText, bool bSupportPrint,
                                     const std::string& sPrintMenuText, bool bSupportNew,
                                     const std::string& sNewMenuText, bool bSupportInstall,
                                     const std::string& sInstallMenuText,
                                     std::int32_t lDefaultIconIndex) {
  const auto command = [&](const std::string& switchText) {
    return sExePath + " " + switchText + "\"%1\"";
  };
  writeClassEntry("." + sAssociation, sClassName);
  writeClassEntry(sClassName, sClassDescription);
  writeVerb(sClassName, "open", orDefault(sOpenMenuText, "&Open"), command(""));
  if (bSupportPrint) {
    writeVerb(sClassName, "print", orDefault(sPrintMenuText, "&Print"), command("/p "));
  }
  if (bSupportInstall) {
    writeVerb(sClassName, "add", orDefault(sInstallMenuText, "&Install " + sAssociation),
              command("/a "));
  }
  if (bSupportNew) {
    writeVerb(sClassName, "new", orDefault(sNewMenuText, "&New"), command("/n "));
  }
  writeClassEntry(sClassName + "\\DefaultIcon", sExePath + "," + std::to_string(lDefaultIconIndex));
}

void cRegistry::CreateAdditionalEXEAssociations(const std::string& sClassName,
                                                const std::vector<std::string>& vItems) {
  if (vItems.size() % 3 != 0) {
    raise(
        "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
        "Name/Text/Command");
  }
  if (store_.openKey(platform::kClassesRoot, sClassName) != RegistryStatus::kOk) {
    raise("Error - attempt to create additional associations before class defined.");
  }
  for (size_t i = 0; i < vItems.size(); i += 3) {
    writeVerb(sClassName, vItems[i], vItems[i + 1], vItems[i + 2]);
  }
}

}  // namespace util
