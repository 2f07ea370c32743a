#pragma once

#include "convert/changes/ChangeFile.h"
#include "platform/FileDescriptor.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace convert {

/// Reads a change file as a stream, row by row, so that memory stays flat in the file's size:
/// the file is opened once, its header read once, and its rows read as often as the caller needs
/// (a check, then the work). Only a regular file is opened, never waited on (a FIFO) nor read
/// without end (a device).
class ChangeFileReader {
 public:
  /// Opens `file` and reads its header; raises ChangeFileError when it is not a regular file,
  /// not a change file of Ordavel, or one of a version that wrote no digest.
  explicit ChangeFileReader(const std::filesystem::path& file);
  ChangeFileReader(const ChangeFileReader&) = delete;
  ChangeFileReader& operator=(const ChangeFileReader&) = delete;

  const ChangeFileHeader& Header() const { return header_; }
  /// Reads the rows from the first one again. With `digest`, the digest chain is proven as the
  /// rows are read: a row it does not prove raises ChangeFileChanged. `digest` must outlive the
  /// reading.
  void Restart(const ChangeDigest* digest);
  /// The next row; nothing once the row that ends the run was read. Raises ChangeFileError for a
  /// damaged file: a row cut short or with the wrong number of cells, lines after the end row, or
  /// no end row at all.
  std::optional<ChangeRow> Next();
  /// Whether the file's end row says the run finished (once Next gave nothing).
  bool Finished() const { return finished_; }
  /// The number of the line Next read last, from 1.
  std::size_t LineNumber() const { return csv_.LineNumber(); }

 private:
  void ReadHeader();
  /// Whether `cells` are the end row; checks its digest and that nothing follows it.
  bool EndRow(const std::vector<std::string>& cells);
  void Prove(const std::vector<std::string>& cells);

  platform::FileDescriptor file_;
  CsvReader csv_;
  ChangeFileHeader header_;
  std::string headerText_;
  std::size_t headerLines_ = 0;
  const ChangeDigest* digest_ = nullptr;
  std::string head_;
  bool finished_ = false;
  bool ended_ = false;
};

/// A change file as read back whole: for tools and tests of small files.
struct ChangeFileContents {
  ChangeFileHeader header;
  std::vector<ChangeRow> rows;
  bool finished = false;  ///< false when the run stopped before its end
};

/// Reads a change file whole, proving its digest chain with `digest` when one is given; raises
/// ChangeFileError when it is not a whole change file.
ChangeFileContents ReadChangeFile(const std::filesystem::path& file,
                                  const ChangeDigest* digest = nullptr);

}  // namespace convert
