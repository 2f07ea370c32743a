#pragma once

#include "batch/TerminalPrompt.h"
#include "host/AccpacConnection.h"
#include "host/AccpacPaths.h"
#include "host/DataSource.h"
#include "host/EventPump.h"
#include "host/MessageBoxes.h"
#include "host/SessionManager.h"

#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// The event pump of a headless run: nothing is pending but the operator's interrupt (Ctrl-C),
/// which raises a flag.
class InterruptPump : public host::EventPump {
 public:
  explicit InterruptPump(const std::atomic<bool>& interrupted) : interrupted_(interrupted) {}
  void ProcessPendingMessages() override {}
  /// Whether the operator has interrupted.
  bool Interrupted() const { return interrupted_.load(); }

 private:
  const std::atomic<bool>& interrupted_;
};

/// Message boxes of a headless run: every message is printed; no question is asked, and one
/// would be answered No.
class ConsoleMessages : public host::MessageBoxes {
 public:
  explicit ConsoleMessages(std::ostream& out) : out_(out) {}
  void Show(const std::string& text, const std::string& title, host::MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& title, host::MessageIcon icon) override;

 private:
  std::ostream& out_;
};

/// What every job signs on with: the installation, and the headless stand-ins for the
/// operator's screen. The entry point builds one; tests build theirs on a test site.
struct Workstation {
  /// The host services of a new session that signs on through `prompt` and opens the company
  /// for `access`.
  std::function<host::HostServices(host::CredentialsPrompt& prompt, host::CompanyAccess access)>
      services;
  /// Reads the ERP's installation folders.
  std::function<host::AccpacPaths()> readPaths;
  /// Makes the data sources each conversion opens.
  host::DataSourceFactory& dataSources;
  /// Where start-up's messages are printed.
  host::MessageBoxes& messages;
  /// Answers the backup question asked before each conversion.
  std::function<bool(const std::string& question)> confirm;
  /// Lets pending events run during a run.
  host::EventPump& pump;
  /// Tells whether the operator has interrupted (Ctrl-C).
  InterruptPump& interrupts;
  /// The sign-on password, the same for every job.
  std::function<std::string()> password;
  /// Where a refused sign-on is reported.
  std::ostream& errors;
  /// The companies of the site that `user` may sign on to, for a plan of every company; unset
  /// where the site cannot be listed.
  std::function<std::vector<std::string>(const std::string& user)> companiesOf = {};
};

/// One job's sign-on as the job's user to one company, checked as start-up checks it (the site
/// configuration, the installation, Tax Services); signed off when destroyed. A session that
/// only previews opens the company read-only.
class JobSession {
 public:
  JobSession(Workstation& station, const std::string& user, const std::string& company,
             host::CompanyAccess access = host::CompanyAccess::ReadWrite);
  ~JobSession();
  JobSession(const JobSession&) = delete;
  JobSession& operator=(const JobSession&) = delete;

  /// Signs on; false when it could not, which is reported.
  bool Load();
  host::AccpacConnection& Connection() { return *connection_; }
  Workstation& Station() { return station_; }

 private:
  Workstation& station_;
  JobSignonPrompt prompt_;
  std::unique_ptr<host::AccpacConnection> connection_;
};

}  // namespace batch
