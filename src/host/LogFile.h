#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace host {

/// The time source of log stamps and log file names (the system clock outside tests).
using Clock = std::function<std::chrono::system_clock::time_point()>;

/// The stamp of a log line: the local date in the operator's short form, a blank, and the local
/// time in the long form. The time is always written, also at midnight.
std::string LogStamp(std::chrono::system_clock::time_point when);

/// The local date as eight digits: year, month, day.
std::string LogDate(std::chrono::system_clock::time_point when);

/// Four blanks per level; zero or a negative level gives the empty text.
std::string LogIndent(std::int16_t iLevel);

/// One log line: "<stamp> <indent><text>" and CR LF.
std::string LogLineText(std::chrono::system_clock::time_point when, std::int16_t iLevel,
                        const std::string& text);

/// Appends "<stamp> <indent><text>" and CR LF to `file` in `folder`, creating the folder itself
/// (not its parents) and the file when missing. The whole line goes out in one write, so lines
/// of two writers never mix. False when the line could not be written.
bool AppendLogLine(const std::string& folder, const std::string& file,
                   std::chrono::system_clock::time_point when, std::int16_t iLevel,
                   const std::string& text);

/// How much of a block of lines appended at a known size a log file holds.
enum class LogTail {
  None,    ///< the file still has that size: nothing was appended
  Partly,  ///< the file ends with the start of the block, cut short
  Whole,   ///< the block follows at that size
  Other,   ///< the file holds something else there, or cannot be read
};

/// What the log file at `file` holds of `lines` appended when it was `size` bytes long. A file
/// that then ended inside a line has the line ended first, as appends do.
LogTail LogTailAt(const std::filesystem::path& file, std::int64_t size, const std::string& lines);

/// Cuts the log file at `file` back to `size` bytes, taking back an append a kill cut short.
bool TakeBackLog(const std::filesystem::path& file, std::int64_t size);

/// A log file as it is spelled on disk. Matching the folder's letter case lists every folder on
/// the way, which costs far more than the write itself, so the match is made once for a folder
/// and file and kept; a kept folder that has disappeared is matched again. Each append is still
/// one complete open, append and close.
class LogFileTarget {
 public:
  /// Appends `lines`, whole lines each ending in CR LF, to `file` in `folder` in one write,
  /// creating the folder itself (not its parents) and the file when missing, so that lines of
  /// two writers never mix. False when nothing could be written.
  bool Append(const std::string& folder, const std::string& file, const std::string& lines);
  /// The size of `file` in `folder` as it lies on disk; 0 when it does not exist yet.
  std::int64_t Size(const std::string& folder, const std::string& file);

 private:
  bool Resolve(const std::string& folder, const std::string& file);

  std::string folder_;
  std::string file_;
  std::filesystem::path onDisk_;
};

}  // namespace host
