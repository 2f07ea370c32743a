#pragma once

#include <optional>
#include <string>
#include <vector>

namespace util {

/// The lines of one INI file, read and changed as the platform's profile-string functions do.
///
/// Sections ("[name]") and keys ("key=value") match without regard to case and the first match
/// wins; comment lines (";"), blank lines and lines of no known form are kept untouched, and so is
/// each line's own line end. New lines get the line end the file already uses (CR LF when none).
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
  std::vector<SectionLines> outline() const;

  /// Splits a file's content into lines.
  static IniDocument parse(const std::string& content);

  /// The content to write back.
  std::string text() const;

  /// The value of a key, blanks around it removed, or nothing when the section or key is absent.
  std::optional<std::string> value(const std::string& section, const std::string& key) const;
  /// The key names of a section in file order.
  std::vector<std::string> keys(const std::string& section) const;
  /// The section names in file order.
  std::vector<std::string> sections() const;

  /// Sets a key, adding the section or the key when absent.
  void set(const std::string& section, const std::string& key, const std::string& value);
  /// Removes a key; false when there was none.
  bool removeKey(const std::string& section, const std::string& key);
  /// Removes a section with every line up to the next section; false when there was none.
  bool removeSection(const std::string& section);

 private:
  struct Line {
    std::string text;
    std::string end;
  };
  struct Range {
    size_t header;
    size_t end;
  };

  std::optional<Range> findSection(const std::string& section) const;
  std::optional<size_t> findKey(const Range& range, const std::string& key) const;
  void insertLine(size_t at, std::string text);

  std::vector<Line> lines_;
  std::string newline_ = "\r\n";
};

}  // namespace util
