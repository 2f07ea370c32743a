#pragma once

#include "app/Form1.h"
#include "batch/Progress.h"
#include "batch/Summary.h"
#include "host/Signal.h"

#include <vector>

namespace batch {

/// Follows the runs of a window through its models: the run announces each kind's start and
/// end with its counts, the progress bar each record, the progress frame the run's end. Shows
/// them on a progress display and keeps what each kind counted.
class KindWatch {
 public:
  /// Watches `window`, which must have started up, until the watch is destroyed.
  KindWatch(app::Form1& window, ProgressDisplay& display);

  /// The kinds ended so far, in running order.
  const std::vector<KindResult>& Kinds() const { return kinds_; }

 private:
  void Started(const convert::KindDef& kind);
  void Stepped();
  void Finished(const convert::KindOutcome& outcome);

  app::Form1& window_;
  ProgressDisplay& display_;
  const convert::KindDef* kind_ = nullptr;
  std::string description_;
  std::vector<KindResult> kinds_;
  host::ScopedConnection started_;
  host::ScopedConnection finished_;
  host::ScopedConnection stepped_;
  host::ScopedConnection ranged_;
  host::ScopedConnection idle_;
};

}  // namespace batch
