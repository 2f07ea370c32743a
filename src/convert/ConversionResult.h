#pragma once

#include "convert/KindCounts.h"
#include "convert/KindTable.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace convert {

/// One kind of a run: which, named by its header view's description, and how it ended.
struct KindResult {
  const KindDef* kind = nullptr;
  std::string description;
  KindOutcome outcome;
};

/// How a request ended.
enum class RunEnd {
  NotRun,     ///< nothing was asked yet
  Refused,    ///< the controls or the checks refused the request; nothing was converted
  Declined,   ///< the backup question was answered No; nothing was converted
  Abandoned,  ///< an error while a kind was set up ended the run
  Cancelled,  ///< the operator cancelled the run
  Finished,   ///< every checked kind ran; the counts tell what became of the records
};

/// What a run did: how it ended, what each kind counted, what could not be written and where
/// its change file is.
struct ConversionResult {
  RunEnd end = RunEnd::NotRun;
  /// The error that ended the run, when one did (Abandoned).
  std::optional<std::string> failure;
  /// The checked kinds in running order, each as it ended.
  std::vector<KindResult> kinds;
  /// The records of every kind that was counted to its end.
  std::int32_t totalUpdated = 0;
  std::int32_t totalFailed = 0;
  std::int32_t totalSkipped = 0;
  /// Kinds whose record loop an error ended; their records are not all counted.
  std::int32_t kindsFailed = 0;
  /// Whether the operator cancelled the run.
  bool cancelled = false;
  /// Conversion log lines that could not be written.
  long lostLogLines = 0;
  /// The run's change file; empty when none was written.
  std::filesystem::path changeFile;
  /// Change rows that could not be written.
  long lostChangeRows = 0;

  /// Whether every selected record was converted and logged: the run finished with nothing
  /// failed, skipped, ended by an error or lost.
  bool Complete() const {
    return end == RunEnd::Finished && totalFailed == 0 && totalSkipped == 0 && kindsFailed == 0 &&
           lostLogLines == 0 && lostChangeRows == 0;
  }
};

/// What the operator is told when a run of the tab captioned `caption` has ended: how it ended,
/// whether records failed or were left, whether log lines were lost, and the question whether
/// to explore the log files.
std::string FinalMessage(const std::string& caption, const ConversionResult& result);

}  // namespace convert
