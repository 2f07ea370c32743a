#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace util {

/// Reads and writes Windows-style INI files: the caller sets the file, the section and the key,
/// then reads or writes the value.
///
/// Reads never fail (a missing file, section or key gives the default) and return at most 8191
/// characters; writes and deletes report through LastReturnCode() and SUCCESS() and replace the
/// file atomically. File names are resolved without regard to case.
class IniFile {
 public:
  /// The most characters a read returns.
  static constexpr size_t kMaxRead = 8191;

  /// The INI file, a full path.
  const std::string& Path() const { return path_; }
  void Path(std::string path) { path_ = std::move(path); }
  /// The current section name.
  const std::string& Section() const { return section_; }
  void Section(std::string section) { section_ = std::move(section); }
  /// The current key name.
  const std::string& key() const { return key_; }
  void key(std::string name) { key_ = std::move(name); }
  /// The text a read returns when the key is absent; starts empty.
  const std::string& Default() const { return default_; }
  void Default(std::string text) { default_ = std::move(text); }

  /// The value of key() in Section(), or Default() when absent.
  std::string value() const;
  /// Writes key()=text into Section(); NUL characters are removed from `text` itself first.
  void value(std::string& text);
  /// Removes key() from Section().
  void DeleteKey();
  /// Removes Section() with all its keys.
  void DeleteSection();
  /// The key names of Section(), each followed by a NUL character.
  std::string INISection() const;
  /// Removes the whole Section(); the text is not written.
  void INISection(const std::string& text);
  /// The section names of the file, each followed by a NUL character.
  std::string Sections() const;
  /// The key names of Section() in sKey[1..iCount] (element 0 is unused).
  void EnumerateCurrentSection(std::vector<std::string>& sKey, int& iCount) const;
  /// The section names of the file in sSections[1..iCount] (element 0 is unused).
  void EnumerateAllSections(std::vector<std::string>& sSections, int& iCount) const;

  /// `sString` as a 32-bit whole number (blanks around it allowed, a fraction rounded half to
  /// even), or `lDefault` when it is not one.
  static std::int32_t CLngDefault(const std::string& sString, std::int32_t lDefault);
  /// Whether value(), in capitals, is "YES", "TRUE" or "1".
  bool BooleanValue() const;
  /// Sets Path() and creates the file, empty, when it does not exist; false on any failure.
  bool CREATE(const std::string& path);

  /// The result of the last write or delete: nonzero for success; reads leave it alone.
  std::int32_t LastReturnCode() const { return lastReturnCode_; }
  /// Whether LastReturnCode() is nonzero.
  bool SUCCESS() const { return lastReturnCode_ != 0; }

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
