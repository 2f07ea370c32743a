#pragma once

#include "convert/RunObserver.h"
#include "host/EventPump.h"
#include "host/ProgressBar.h"
#include "host/WindowControls.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace app {

/// The time the window's progress is measured with; tests give a clock they move themselves.
using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

/// Shows a run on the window's progress frame: the bar with the records done of those to
/// convert, the rate and the time left, and the record in hand in the processing box. Drawing
/// and letting window messages run cost far more than converting a record, so both happen on a
/// clock, about ten times a second, and when a kind starts, is counted and ends; between those
/// the run only reads the Cancel flag, which a click sets at the next tick.
class RunProgress : public convert::RunObserver {
 public:
  /// How often the frame is redrawn and window messages run during a kind.
  static constexpr std::chrono::milliseconds kInterval{100};

  /// `cancel` is the flag the window's Cancel button sets.
  RunProgress(host::ProgressBar& bar, host::TextBox& processing, host::EventPump& pump,
              SteadyClock clock, const bool& cancel);

  void KindStarted(const convert::KindDef& kind, const std::string& description) override;
  void RecordsCounted(std::int32_t records) override;
  void Processing(const std::string& text) override;
  void RecordDone() override { ++done_; }
  void KindFinished(const convert::KindResult& kind) override;
  void LetEventsRun() override;
  bool CancelRequested() const override { return cancel_; }

 private:
  /// Draws the frame as the run stands and lets window messages run.
  void Show(std::chrono::steady_clock::time_point now);

  host::ProgressBar& bar_;
  host::TextBox& processing_;
  host::EventPump& pump_;
  SteadyClock clock_;
  const bool& cancel_;
  std::string kind_;
  std::string record_;
  std::int64_t done_ = 0;
  std::int64_t total_ = -1;
  std::chrono::steady_clock::time_point counted_{};
  std::chrono::steady_clock::time_point shown_{};
};

}  // namespace app
