#pragma once

#include "host/AccpacConnection.h"
#include "host/CredentialsPrompt.h"
#include "host/ErrorListView.h"
#include "host/SignonDialog.h"
#include "host/webapi/PropertyMaps.h"
#include "host/webapi/WebApiDataSource.h"
#include "host/webapi/WebApiSession.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace host::webapi {

/// The composition root of a program on an ERP's Web API: the host services of a session on the
/// server and the data sources over its entity sets.
///
/// Entry points build one and hand its parts to the program, which sees only the host
/// interfaces. There is no local installation: no registry, shared-data folder or runtime
/// library; the conversion logs of each company go to a folder of their own below
/// WebApiSettings::logRoot.
class WebApiHost {
 public:
  /// A host on the server and folders of `settings`, with the administrator's `overrides`.
  explicit WebApiHost(WebApiSettings settings, const MapOverrides& overrides = {});

  const WebApiSettings& Settings() const { return settings_; }
  const PropertyMaps& Maps() const { return maps_; }
  /// The services of a session that signs on with the credentials of `prompt` and opens the
  /// company for `access`; warnings and the error list are shown in `view`. Both must outlive
  /// the services.
  HostServices Services(CredentialsPrompt& prompt, ErrorListView& view,
                        host::CompanyAccess access = host::CompanyAccess::ReadWrite);
  /// The services of a program with its own windows: the operator signs on in `dialog`.
  HostServices Services(SignonDialog& dialog, ErrorListView& view);
  /// Opens the program's data sources on the server's entity sets.
  DataSourceFactory& DataSources() { return dataSources_; }

 private:
  HostServices ServicesAsking(CredentialsAsker ask, ErrorListView& view,
                              host::CompanyAccess access);

  WebApiSettings settings_;
  PropertyMaps maps_;
  WebApiDataSourceFactory dataSources_;
};

/// Where a program keeps the logs of a server's companies when it is told no folder: the user's
/// data folder ($XDG_DATA_HOME, else ~/.local/share), "ordavel", "web-api", the server's name.
/// Throws std::runtime_error when the user has neither.
std::filesystem::path DefaultLogRoot(const WebApiAddress& address);

/// Signs on as `user` to `company` and tells, module by module and kind by kind, whether the
/// server lets the program convert it, and why not. Returns 0 when every kind of the company's
/// active modules can be converted, 2 when some cannot, 3 when the sign-on is refused.
int CheckServer(WebApiHost& host, const std::string& user, const std::string& company,
                const std::string& password, std::ostream& out);

}  // namespace host::webapi
