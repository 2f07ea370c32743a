#pragma once

#include "app/Form1.h"
#include "batch/Runner.h"
#include "batch/ShownErrors.h"
#include "batch/TerminalPrompt.h"
#include "host/SessionManager.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace batch {

/// What the window of every job is wired to: the installation, and the headless stand-ins for
/// the operator's screen. The entry point builds one; tests build theirs on a test site.
struct Workstation {
  /// The host services of a new session that signs on through `prompt` and opens the company
  /// for `access`.
  std::function<host::HostServices(host::CredentialsPrompt& prompt, host::CompanyAccess access)>
      services;
  /// Reads the ERP's installation folders; empty for a backend without a local installation.
  std::function<host::AccpacPaths()> readPaths;
  host::DataSourceFactory& dataSources;
  host::MessageBoxes& messages;
  util::Shell& shell;
  util::Notifier& notifier;
  /// Lets pending messages run during a run.
  host::EventPump& pump;
  /// Presses the Cancel button of the window in hand when the operator interrupts.
  InterruptPump& interrupts;
  host::FilterWindow& filterWindow;
  std::string programFolder;
  /// The sign-on password, the same for every job.
  std::function<std::string()> password;
  /// Where a refused sign-on is reported.
  std::ostream& errors;
};

/// The main window of one job, signed on as the job's user to one company; unloaded (signed
/// off) when destroyed. A window that only previews opens the company read-only.
class JobWindow {
 public:
  JobWindow(Workstation& station, const std::string& user, const std::string& company,
            host::CompanyAccess access = host::CompanyAccess::ReadWrite);
  ~JobWindow();
  JobWindow(const JobWindow&) = delete;
  JobWindow& operator=(const JobWindow&) = delete;

  /// Signs on and starts the window up; false when it could not, which is reported. Ctrl-C
  /// presses this window's Cancel from then on.
  bool Load();
  app::Form1& Window() { return *window_; }
  ShownErrors& Shown() { return shown_; }

 private:
  InterruptPump& interrupts_;
  JobSignonPrompt prompt_;
  ShownErrors shown_;
  std::unique_ptr<app::Form1> window_;
};

}  // namespace batch
