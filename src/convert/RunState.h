#pragma once

#include <cstdint>
#include <string>

namespace convert {

/// The state of one conversion run: its current log, whether it was cancelled, its totals.
struct RunState {
  /// File name (no folder) of the log of the kind being converted.
  std::string CurrentLogFile;
  /// Whether the run was asked to stop; the record loops poll it.
  bool CancelRequested = false;
  std::int32_t lTotalUpdated = 0;
  std::int32_t lTotalFailed = 0;
  std::int32_t lTotalSkipped = 0;
  /// Kinds whose record loop an error ended; their records are not all counted, so a run with
  /// such a kind is never complete.
  std::int32_t lKindsFailed = 0;

  /// Clears the flag and the totals for a new run.
  void Reset() {
    CancelRequested = false;
    lTotalUpdated = 0;
    lTotalFailed = 0;
    lTotalSkipped = 0;
    lKindsFailed = 0;
  }
};

}  // namespace convert
