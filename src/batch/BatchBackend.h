#pragma once

#include "batch/JobQueue.h"
#include "host/standin/StandinHost.h"
#include "host/webapi/WebApiHost.h"
#include "standin/site/ErpErrorDisplay.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace batch {

/// Where the ERP's Web API is and how the program talks to it; nothing given means the local ERP.
struct WebApiOptions {
  std::optional<std::string> url;        ///< --web-api, else the jobs' WebApi
  std::optional<std::string> logFolder;  ///< --log-folder, else the jobs' LogFolder
  std::string caFile;
  std::string mapFile;
  std::optional<int> timeout;
  std::string checkUrl;
  std::string user = "ADMIN";
};

/// A job's refusal of the Web API settings: "file:line: problem".
class WebApiRefusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The Web API settings of a call, or nothing for the local ERP. An option's value overrides
/// the jobs'; the jobs of one call must agree, as one call converts on one server. A value that
/// cannot be used throws CLI::ValidationError for an option and WebApiRefusal for a job.
std::optional<host::webapi::WebApiSettings> WebApiSettingsOf(const WebApiOptions& options,
                                                             const std::vector<QueuedJob>& queue);

/// The administrator's corrections of property names, when a map file is given.
host::webapi::MapOverrides MapOverridesOf(const WebApiOptions& options);

/// Prints the program's error messages on the standard error.
class ConsoleNotifier : public util::Notifier {
 public:
  void Critical(const std::string& text) override;
};

/// The ERP a call converts on: the stand-in installation the registry records, or a Web API
/// server when one is given. The job sessions get its host services; nothing else knows which.
class Backend {
 public:
  Backend(const std::optional<host::webapi::WebApiSettings>& webApi,
          const host::webapi::MapOverrides& overrides);

  /// The host services of a new session that signs on through `prompt` for `access`.
  host::HostServices Services(host::CredentialsPrompt& prompt, host::CompanyAccess access);
  /// Reads the installation's folders; nothing for a Web API server, which has none here.
  std::function<host::AccpacPaths()> ReadPaths();
  host::DataSourceFactory& DataSources();
  /// Lists the companies a user may sign on to; nothing for a Web API server, which lists none.
  std::function<std::vector<std::string>(const std::string& user)> CompaniesOf();

 private:
  ConsoleNotifier notifier_;
  host::standin::StandinHost standin_;
  std::string sharedData_;
  erp::ConsoleErrorDisplay display_;
  std::optional<host::webapi::WebApiHost> webApi_;
  host::webapi::StreamErrorListView errorList_;
};

}  // namespace batch
