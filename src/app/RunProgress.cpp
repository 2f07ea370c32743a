#include "app/RunProgress.h"

#include "convert/ProgressText.h"

namespace app {

RunProgress::RunProgress(host::ProgressBar& bar, host::TextBox& processing, host::EventPump& pump,
                         SteadyClock clock, const bool& cancel)
    : bar_(bar), processing_(processing), pump_(pump), clock_(std::move(clock)), cancel_(cancel) {}

void RunProgress::KindStarted(const convert::KindDef&, const std::string& description) {
  kind_ = description;
  record_.clear();
  done_ = 0;
  total_ = -1;
  bar_.SetValue(0);
  Show(clock_());
}

void RunProgress::RecordsCounted(std::int32_t records) {
  counted_ = clock_();
  total_ = records;
  done_ = 0;
  bar_.SetValue(0);
  bar_.SetMin(0);
  bar_.SetMax(static_cast<float>(records));
  Show(counted_);
}

void RunProgress::Processing(const std::string& text) {
  // Between two records the engine clears the text; a tick that falls there keeps the last
  // record shown rather than a blank box.
  if (!text.empty()) record_ = text;
}

void RunProgress::KindFinished(const convert::KindResult&) {
  record_.clear();
  Show(clock_());
}

void RunProgress::LetEventsRun() {
  const auto now = clock_();
  if (now - shown_ >= kInterval) Show(now);
}

void RunProgress::Show(std::chrono::steady_clock::time_point now) {
  // The text first: whoever follows the bar's value reads the text that goes with it.
  const double seconds = std::chrono::duration<double>(now - counted_).count();
  bar_.SetText(kind_.empty() ? "" : convert::ProgressLine(kind_, done_, total_, seconds));
  if (total_ >= 0) bar_.SetValue(static_cast<float>(done_));
  processing_.SetText(record_);
  shown_ = now;
  pump_.ProcessPendingMessages();
}

}  // namespace app
