#pragma once

#include "convert/RunObserver.h"
#include "host/EventPump.h"
#include "host/ProgressBar.h"
#include "host/WindowControls.h"

#include <cstdint>
#include <string>

namespace convert {

/// Shows a run on a progress bar (the records of the kind in hand) and a processing box (the
/// record in hand), and lets pending window messages run at every point the run allows it, as
/// the main window does.
class ProgressControls : public RunObserver {
 public:
  /// `cancel`, when given, is the flag the window's Cancel button sets.
  ProgressControls(host::ProgressBar& progressBar, host::TextBox& txtProcessing,
                   host::EventPump& pump, const bool* cancel = nullptr)
      : progressBar_(progressBar), txtProcessing_(txtProcessing), pump_(pump), cancel_(cancel) {}

  void RecordsCounted(std::int32_t records) override;
  void Processing(const std::string& text) override { txtProcessing_.SetText(text); }
  void RecordDone() override { progressBar_.SetValue(progressBar_.Value() + 1); }
  void LetEventsRun() override { pump_.ProcessPendingMessages(); }
  bool CancelRequested() const override { return cancel_ != nullptr && *cancel_; }

 private:
  host::ProgressBar& progressBar_;
  host::TextBox& txtProcessing_;
  host::EventPump& pump_;
  const bool* cancel_;
};

}  // namespace convert
