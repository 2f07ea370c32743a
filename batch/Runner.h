#pragma once

#include "app/Form1.h"
#include "batch/JobFile.h"
#include "host/EventPump.h"
#include "host/MessageBoxes.h"

#include <atomic>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace batch {

/// How a headless run ended, as the process exit status.
enum ExitStatus : int {
  kComplete = 0,
  kRefused = 1,
  kIncomplete = 2,
  kCancelled = 3,
};

/// Message boxes of a headless run: messages are printed, the backup question is answered by
/// `confirm`, the final question is printed and answered No; the answers are kept for the status.
class ConsoleMessages : public host::MessageBoxes {
 public:
  ConsoleMessages(std::ostream& out, std::function<bool(const std::string&)> confirm);
  void Show(const std::string& text, const std::string& title, host::MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& title, host::MessageIcon icon) override;
  /// Whether the backup question was asked, and so validation let the run start.
  bool BackupAsked() const { return backupAsked_; }
  /// Whether the backup question was answered Yes.
  bool BackupAccepted() const { return backupAccepted_; }
  /// The message that ends a run, when one was shown.
  const std::optional<std::string>& FinalMessage() const { return final_; }

 private:
  std::ostream& out_;
  std::function<bool(const std::string&)> confirm_;
  bool backupAsked_ = false;
  bool backupAccepted_ = false;
  std::optional<std::string> final_;
};

/// An event pump that presses Cancel once when an interrupt flag has been raised.
class InterruptPump : public host::EventPump {
 public:
  explicit InterruptPump(const std::atomic<bool>& interrupted) : interrupted_(interrupted) {}
  /// What pressing Cancel does; set once the window exists.
  void OnInterrupt(std::function<void()> cancel) { cancel_ = std::move(cancel); }
  void ProcessPendingMessages() override;

 private:
  const std::atomic<bool>& interrupted_;
  std::function<void()> cancel_;
  bool pressed_ = false;
};

/// Fills the window's controls as an operator would enter the job; a refused entry raises
/// host::HostError.
void ApplyJob(const Job& job, app::Form1& window);

/// Applies the job, presses Convert and works out the exit status from the messages shown.
ExitStatus RunJob(const Job& job, app::Form1& window, ConsoleMessages& messages, std::ostream& out);

/// The exit status of a run that ended with `message`.
ExitStatus StatusOfFinalMessage(const std::string& message);

}  // namespace batch
