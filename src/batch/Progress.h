#pragma once

#include "convert/KindCounts.h"
#include "convert/ProgressText.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace batch {

/// The time progress is measured with; tests give a clock they move themselves.
using Clock = std::function<std::chrono::steady_clock::time_point()>;

/// Shows how far a run has come, kind by kind. On a terminal one line per kind is redrawn, at
/// most ten times a second, with the records done of those to convert, the rate and the time
/// left; elsewhere (a file, a pipe) a kind gets one line when it starts and one when it ends.
/// Either way the end line stays with the kind's counts.
class ProgressDisplay {
 public:
  ProgressDisplay(std::ostream& out, bool terminal, Clock clock);

  /// A kind, named by its description, is starting.
  void KindStarted(const std::string& kind);
  /// `done` of the kind's `total` records are through.
  void Progress(std::int64_t done, std::int64_t total);
  /// The kind ended with these counts.
  void KindEnded(const convert::KindOutcome& outcome);
  /// Words the end lines as a preview's: what a conversion would do.
  void SetPreview(bool preview) { preview_ = preview; }
  /// The run ended; a kind still in hand ended with it (an error while setting it up).
  void RunEnded();

  /// The line of a kind in progress, as a terminal shows it.
  std::string ProgressLine() const;
  /// The line a kind ends with.
  std::string EndLine(const convert::KindOutcome& outcome) const;

 private:
  void Redraw(std::chrono::steady_clock::time_point now);
  void Finish(const std::string& line);
  double Seconds(std::chrono::steady_clock::time_point from) const;

  std::ostream& out_;
  bool terminal_;
  Clock clock_;
  std::string kind_;
  bool active_ = false;
  bool preview_ = false;
  std::int64_t done_ = 0;
  std::int64_t total_ = -1;
  std::chrono::steady_clock::time_point started_{};
  std::chrono::steady_clock::time_point counted_{};
  std::optional<std::chrono::steady_clock::time_point> drawn_;
};

using convert::FormatDuration;

}  // namespace batch
