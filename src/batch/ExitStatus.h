#pragma once

#include <string>

namespace batch {

/// How a headless run ended, as the process exit status.
enum ExitStatus : int {
  kComplete = 0,
  kRefused = 1,
  kIncomplete = 2,
  kCancelled = 3,
};

/// The worse of two statuses, in the order complete, incomplete, refused, cancelled: the status
/// of several jobs is the worst of theirs.
ExitStatus Worst(ExitStatus a, ExitStatus b);

/// One word for a status: "complete", "incomplete", "refused" or "cancelled".
std::string StatusWord(ExitStatus status);

}  // namespace batch
