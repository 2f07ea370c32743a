#pragma once

#include <chrono>
#include <cstdint>
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

/// Appends "<stamp> <indent><text>" and CR LF to `file` in `folder`, creating the folder itself
/// (not its parents) and the file when missing. The whole line goes out in one write, so lines
/// of two writers never mix. False when the line could not be written.
bool AppendLogLine(const std::string& folder, const std::string& file,
                   std::chrono::system_clock::time_point when, std::int16_t iLevel,
                   const std::string& text);

}  // namespace host
