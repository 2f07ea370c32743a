#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace util {

/// Reads Windows-style INI files: the caller sets the file, the section and the key, then reads
/// the value.
///
/// Reads never fail (a missing file, section or key gives the default) and return at most 8191
/// characters. File names are resolved without regard to case.
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

 private:
  std::string path_;
  std::string section_;
  std::string key_;
  std::string default_;
};

}  // namespace util
