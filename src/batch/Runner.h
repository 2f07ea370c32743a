#pragma once

#include "app/Form1.h"
#include "batch/ExitStatus.h"
#include "batch/JobFile.h"
#include "batch/ShownErrors.h"
#include "host/EventPump.h"
#include "host/HeldClaims.h"
#include "host/MessageBoxes.h"

#include <atomic>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// Message boxes of a headless run: messages are printed, the backup question is answered by
/// `confirm`, the final question is printed and answered No.
class ConsoleMessages : public host::MessageBoxes {
 public:
  ConsoleMessages(std::ostream& out, std::function<bool(const std::string&)> confirm);
  void Show(const std::string& text, const std::string& title, host::MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& title, host::MessageIcon icon) override;

 private:
  std::ostream& out_;
  std::function<bool(const std::string&)> confirm_;
};

/// An event pump that presses Cancel once when an interrupt flag has been raised.
class InterruptPump : public host::EventPump {
 public:
  explicit InterruptPump(const std::atomic<bool>& interrupted) : interrupted_(interrupted) {}
  /// What pressing Cancel does; set once the window exists.
  void OnInterrupt(std::function<void()> cancel) { cancel_ = std::move(cancel); }
  void ProcessPendingMessages() override;
  /// Whether the operator has interrupted, whether or not Cancel could be pressed then.
  bool Interrupted() const { return interrupted_.load(); }

 private:
  const std::atomic<bool>& interrupted_;
  std::function<void()> cancel_;
  bool pressed_ = false;
};

/// Fills the window's controls as an operator would enter the job. Returns every entry the
/// controls refused or could not take as written, each as "file:line: problem"; an empty list
/// means the window holds exactly what the job says.
std::vector<std::string> ApplyJob(const Job& job, app::Form1& window, ShownErrors& shown);

/// Applies the job and runs every check Convert runs, without asking or converting anything;
/// returns every problem, an empty list when the job would run. With `claims` the job's kinds
/// are claimed too, as Convert claims them, and the claims stay in `claims`.
std::vector<std::string> CheckJob(const Job& job, app::Form1& window, ShownErrors& shown,
                                  host::HeldClaims* claims = nullptr);

/// Applies the job and, when the window took all of it, presses Convert; the status comes from
/// how the run ended and what it counted.
ExitStatus RunJob(const Job& job, app::Form1& window, ShownErrors& shown, std::ostream& out);

/// Applies the job and, when the window took all of it, presses Preview: the job's records are
/// taken through the views and nothing is saved; the status is the one the conversion would end
/// with, and the change file tells record by record what it would do.
ExitStatus PreviewJob(const Job& job, app::Form1& window, ShownErrors& shown, std::ostream& out);

/// The exit status of the window's last press of Convert.
ExitStatus StatusOfRun(const app::Form1& window);

}  // namespace batch
