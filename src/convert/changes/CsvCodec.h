#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace convert {

/// A change file that cannot be read as one: the message says what is wrong with it.
class ChangeFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The cells as one CSV line ending in CR LF (see AppendCsvLine).
std::string CsvLine(const std::vector<std::string>& cells);

/// Appends the cells as one CSV line to `lines`. A cell that a spreadsheet would take for a
/// formula (it begins with "=", "+", "-", "@", TAB or CR) is written after an apostrophe, and so
/// is one that begins with an apostrophe; a cell that is not valid UTF-8 is written as "'%"
/// followed by the cell with "%" and every byte of an invalid sequence as "%XX". A cell with a
/// comma, quote or line break is then quoted and its quotes doubled. ParseCsv reads every cell
/// back exactly.
void AppendCsvLine(std::string& lines, std::initializer_list<const std::string*> cells);

/// The lines of CSV text as cells; raises ChangeFileError for an unclosed quote or a line that
/// does not end in a line break.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

/// Reads CSV lines one at a time from an open file, so that memory stays flat in the file's size.
/// A line longer than `maxLine` bytes is refused: no line Ordavel writes comes near it.
class CsvReader {
 public:
  CsvReader(int fd, std::size_t maxLine) : fd_(fd), maxLine_(maxLine) {}

  /// Starts again at the beginning of the file.
  void Rewind();
  /// The cells of the next line, as ParseCsv gives them; nothing at the end of the file. Raises
  /// ChangeFileError for a line cut short, a line too long or a file that cannot be read.
  std::optional<std::vector<std::string>> Next();
  /// The number of the line Next gave last, from 1.
  std::size_t LineNumber() const { return line_; }

 private:
  bool Fill();

  int fd_;
  std::size_t maxLine_;
  std::string buffer_;
  std::size_t at_ = 0;
  long long offset_ = 0;
  std::size_t line_ = 0;
};

}  // namespace convert
