#pragma once

#include <optional>
#include <string>
#include <vector>

namespace util {

/// The lines of one INI file, read as the platform's profile-string functions read them.
///
/// Sections ("[name]") and keys ("key=value") match without regard to case and the first match
/// wins; comment lines (";"), blank lines and lines of no known form are skipped.
class IniDocument {
 public:
  /// One "key=value" line as it stands in the file.
  struct KeyLine {
    int line = 0;  ///< 1-based line number
    std::string key;
    std::string value;
  };
  /// One section as it stands in the file, with its key lines in file order. Repeated sections
  /// and keys are listed as often as they occur.
  struct SectionLines {
    int line = 0;  ///< 1-based line number of the header; 0 for lines before the first section
    std::string name;
    std::string header;  ///< the header line, blanks around it removed
    std::vector<KeyLine> keys;
    /// Lines that are neither a key, a comment, a blank line nor a section header.
    std::vector<int> otherLines;
  };

  /// The file as it stands, line numbers included: the keys before the first section (a section
  /// with line 0, only when there are any) and every section.
  std::vector<SectionLines> Outline() const;

  /// Splits a file's content into lines.
  static IniDocument Parse(const std::string& content);

  /// The value of a key, blanks around it removed, or nothing when the section or key is absent.
  std::optional<std::string> value(const std::string& section, const std::string& key) const;

 private:
  struct Range {
    size_t header;
    size_t end;
  };

  std::optional<Range> FindSection(const std::string& section) const;
  std::optional<size_t> FindKey(const Range& range, const std::string& key) const;

  std::vector<std::string> lines_;
};

}  // namespace util
