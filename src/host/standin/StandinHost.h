#pragma once

#include "host/AccpacConnection.h"
#include "host/AccpacPaths.h"
#include "host/CredentialsPrompt.h"
#include "host/DataSource.h"
#include "host/ErrorListView.h"
#include "host/SignonDialog.h"
#include "host/standin/StandinDataSource.h"
#include "platform/Registry.h"
#include "util/Shell.h"

#include "standin/site/ErpErrorDisplay.h"
#include "standin/site/RegistryStore.h"
#include "standin/site/SignonPrompt.h"

#include <filesystem>
#include <string>
#include <vector>

namespace host::standin {

/// The composition root of a program on the stand-in ERP: the registry the installation is
/// recorded in, the host services of a session on that installation and the data sources.
///
/// Entry points (the batch runner, the window, tools) build one and hand its parts to the
/// program, which sees only the host interfaces; nothing else links the stand-in.
class StandinHost {
 public:
  /// A host on the registry store that ORDAVEL_REGISTRY names, else the user's own.
  StandinHost() = default;
  /// A host on the registry store kept in `registryFile`.
  explicit StandinHost(std::filesystem::path registryFile) : registry_(std::move(registryFile)) {}

  /// The registry the installation is recorded in.
  platform::Registry& Registry() { return registry_; }
  /// The file the registry is kept in, for telling the operator.
  const std::filesystem::path& RegistryFile() const { return registry_.file(); }
  /// The installation's folders as the registry gives them; a failure is shown by `notifier`.
  AccpacPaths ReadPaths(util::Notifier& notifier) { return AccpacPaths(registry_, notifier); }
  /// The services of a session on the site in `sharedData`: sign-on asks `prompt`, the company
  /// is opened for `access`, the error list is shown through `display`, the command line is
  /// `commandLine`. `prompt` and `display` must outlive the services.
  HostServices Services(const std::filesystem::path& sharedData, erp::SignonPrompt& prompt,
                        erp::ErrorDisplay& display, std::string commandLine = {},
                        host::CompanyAccess access = host::CompanyAccess::ReadWrite);
  /// The same for a program that signs on with credentials it has, such as a job's.
  HostServices Services(const std::filesystem::path& sharedData, host::CredentialsPrompt& prompt,
                        erp::ErrorDisplay& display, std::string commandLine = {},
                        host::CompanyAccess access = host::CompanyAccess::ReadWrite);
  /// The services of a session on the site in `sharedData` for a program with its own windows:
  /// the operator signs on in `dialog` and is shown the error list in `view`; both must outlive
  /// the services.
  HostServices Services(const std::filesystem::path& sharedData, host::SignonDialog& dialog,
                        host::ErrorListView& view, std::string commandLine = {});
  /// The companies of the site in `sharedData` that `user` may sign on to, by ID; none when the
  /// site cannot be read.
  static std::vector<std::string> CompaniesOf(const std::filesystem::path& sharedData,
                                              const std::string& user);
  /// Opens the program's data sources on the stand-in's views.
  DataSourceFactory& DataSources() { return dataSources_; }

 private:
  erp::RegistryStore registry_;
  StandinDataSourceFactory dataSources_;
};

}  // namespace host::standin
