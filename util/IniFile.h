#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace util {

/// Reads and writes Windows-style INI files: the caller sets the file, the section and the key,
/// then reads or writes the value.
///
/// Reads never fail (a missing file, section or key gives the default) and return at most 8191
/// characters; writes and deletes report through lastReturnCode() and success() and replace the
/// file atomically. File names are resolved without regard to case.
class IniFile {
 public:
  /// The most characters a read returns.
  static constexpr size_t kMaxRead = 8191;

  /// The INI file, a full path.
  const std::string& path() const { return path_; }
  void setPath(std::string path) { path_ = std::move(path); }
  /// The current section name.
  const std::string& section() const { return section_; }
  void setSection(std::string section) { section_ = std::move(section); }
  /// The current key name.
  const std::string& key() const { return key_; }
  void setKey(std::string key) { key_ = std::move(key); }
  /// The text a read returns when the key is absent; starts empty.
  const std::string& defaultValue() const { return default_; }
  void setDefault(std::string text) { default_ = std::move(text); }

  /// The value of key() in section(), or defaultValue() when absent.
  std::string value() const;
  /// Writes key()=text into section(); NUL characters are removed from `text` itself first.
  void setValue(std::string& text);
  /// Removes key() from section().
  void deleteKey();
  /// Removes section() with all its keys.
  void deleteSection();
  /// The key names of section(), each followed by a NUL character.
  std::string iniSection() const;
  /// Removes the whole section(); the text is not written.
  void setIniSection(const std::string& text);
  /// The section names of the file, each followed by a NUL character.
  std::string sections() const;
  /// The key names of section() in sKey[1..iCount] (element 0 is unused).
  void enumerateCurrentSection(std::vector<std::string>& sKey, int& iCount) const;
  /// The section names of the file in sSections[1..iCount] (element 0 is unused).
  void enumerateAllSections(std::vector<std::string>& sSections, int& iCount) const;

  /// `sString` as a 32-bit whole number (blanks around it allowed, a fraction rounded half to
  /// even), or `lDefault` when it is not one.
  static std::int32_t clngDefault(const std::string& sString, std::int32_t lDefault);
  /// Whether value(), in capitals, is "YES", "TRUE" or "1".
  bool booleanValue() const;
  /// Sets path() and creates the file, empty, when it does not exist; false on any failure.
  bool create(const std::string& path);

  /// The result of the last write or delete: nonzero for success; reads leave it alone.
  std::int32_t lastReturnCode() const { return lastReturnCode_; }
  /// Whether lastReturnCode() is nonzero.
  bool success() const { return lastReturnCode_ != 0; }

 private:
  std::string readSection() const;
  void removeSection();

  std::string path_;
  std::string section_;
  std::string key_;
  std::string default_;
  std::int32_t lastReturnCode_ = 0;
};

}  // namespace util
