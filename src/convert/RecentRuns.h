#pragma once

#include "convert/changes/ChangeFile.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace convert {

/// One run of a company as its change file tells it.
struct RunRecord {
  std::filesystem::path changeFile;
  ChangeFileHeader header;
  /// Per kind's log name, its records by outcome ("converted", "skipped", "would convert", ...).
  std::map<std::string, std::map<std::string, int>> outcomes;
  /// Whether the run wrote its end row: it was not stopped by a crash or a kill.
  bool finished = false;
  /// Why the file could not be read to its end; empty when it could.
  std::string problem;
  /// When the file was last written.
  std::filesystem::file_time_type written{};

  /// "Conversion", "Preview" or "Undo".
  std::string What() const;
  /// The counts of every kind, such as "AR_Customers: 2 converted, 1 skipped".
  std::string Counts() const;
  /// The conversion logs the run wrote into, in `logFolder`: the day's log of each of its kinds
  /// (of an undo, the day's undo log); a preview writes none.
  std::vector<std::filesystem::path> LogFiles(const std::filesystem::path& logFolder) const;
};

/// The runs whose change files lie in `logFolder`, the latest first.
std::vector<RunRecord> RecentRuns(const std::filesystem::path& logFolder);

}  // namespace convert
