#pragma once

#include "batch/JobSession.h"
#include "batch/Progress.h"
#include "batch/Summary.h"
#include "convert/RunObserver.h"

#include <cstdint>
#include <string>
#include <vector>

namespace batch {

/// Follows the runs of a job: shows each kind's start, records and end on a progress display,
/// keeps what each kind counted, and lets the operator's interrupt (Ctrl-C) stop a run at its
/// next record.
class KindWatch : public convert::RunObserver {
 public:
  KindWatch(ProgressDisplay& display, Workstation& station);

  /// The kinds ended so far, in running order.
  const std::vector<KindResult>& Kinds() const { return kinds_; }

  void KindStarted(const convert::KindDef& kind, const std::string& description) override;
  void RecordsCounted(std::int32_t records) override;
  void RecordDone() override;
  void KindFinished(const convert::KindResult& kind) override;
  void RunFinished(const convert::ConversionResult& result) override;
  void LetEventsRun() override { station_.pump.ProcessPendingMessages(); }
  bool CancelRequested() const override { return station_.interrupts.Interrupted(); }

 private:
  ProgressDisplay& display_;
  Workstation& station_;
  std::string description_;
  std::int64_t done_ = 0;
  std::int64_t total_ = 0;
  std::vector<KindResult> kinds_;
};

}  // namespace batch
