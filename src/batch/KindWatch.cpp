#include "batch/KindWatch.h"

#include <algorithm>

namespace batch {

KindWatch::KindWatch(ProgressDisplay& display, Workstation& station)
    : display_(display), station_(station) {}

void KindWatch::KindStarted(const convert::KindDef&, const std::string& description) {
  description_ = description;
  done_ = 0;
  total_ = 0;
  display_.KindStarted(description);
}

void KindWatch::RecordsCounted(std::int32_t records) {
  total_ = records;
  done_ = 0;
  display_.Progress(done_, total_);
}

void KindWatch::RecordDone() {
  // More records than were counted (added meanwhile) show as all of them.
  done_ = std::min(done_ + 1, total_);
  display_.Progress(done_, total_);
}

void KindWatch::KindFinished(const convert::KindResult& kind) {
  display_.KindEnded(kind.outcome);
  kinds_.push_back({kind.description, kind.outcome});
}

void KindWatch::RunFinished(const convert::ConversionResult&) {
  // A kind whose set-up failed ends with the run.
  display_.RunEnded();
}

}  // namespace batch
