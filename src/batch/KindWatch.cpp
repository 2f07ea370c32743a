#include "batch/KindWatch.h"

namespace batch {

KindWatch::KindWatch(app::Form1& window, ProgressDisplay& display)
    : window_(window), display_(display) {
  app::ConversionRun& run = *window.Run();
  started_ = run.KindStarted.Connect([this](const convert::KindDef& kind) { Started(kind); });
  finished_ = run.KindFinished.Connect(
      [this](const convert::KindDef&, const convert::KindOutcome& outcome) { Finished(outcome); });
  stepped_ = window.ProgressBar().ValueChanged.Connect([this] { Stepped(); });
  ranged_ = window.ProgressBar().RangeChanged.Connect([this] { Stepped(); });
  // The window hides its progress frame when a run ends, before it shows anything else, so a
  // kind that a set-up error cut short ends its line first.
  idle_ = window.frmProgress().VisibleChanged.Connect([this] {
    if (window_.frmProgress().Visible()) return;
    display_.RunEnded();
    kind_ = nullptr;
  });
}

void KindWatch::Started(const convert::KindDef& kind) {
  kind_ = &kind;
  description_ = window_.Source(kind.headerSource).Description();
  display_.KindStarted(description_);
}

void KindWatch::Stepped() {
  if (kind_ == nullptr) return;
  // The bar counts the records through up to its maximum, the records to convert.
  const std::int64_t done = static_cast<std::int64_t>(window_.ProgressBar().Value());
  display_.Progress(done, static_cast<std::int64_t>(window_.ProgressBar().Max()));
}

void KindWatch::Finished(const convert::KindOutcome& outcome) {
  display_.KindEnded(outcome);
  kinds_.push_back({description_, outcome});
  kind_ = nullptr;
}

}  // namespace batch
