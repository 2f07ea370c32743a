#pragma once

#include "host/LogFile.h"
#include "platform/Registry.h"
#include "util/Shell.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace host {

/// The local-machine registry key where the ERP records its installation.
inline constexpr const char* kAccpacConfigurationKey =
    "SOFTWARE\\ACCPAC International, Inc.\\ACCPAC\\Configuration";

/// The ERP's installation folders, read once from the registry.
class AccpacPaths {
 public:
  /// Reads the folders from `registry`; a failure is shown through `notifier` and leaves the
  /// installation not installed.
  AccpacPaths(platform::Registry& registry, util::Notifier& notifier);

  /// Whether the configuration key exists and the site configuration library is in RuntimePath.
  bool Installed() const { return installed_; }
  /// The ERP's program folder.
  const std::string& ProgramsPath() const { return programsPath_; }
  /// The program folder's "runtime" folder.
  const std::string& RuntimePath() const { return runtimePath_; }
  /// The ERP's shared-data folder.
  const std::string& SharedDataPath() const { return sharedDataPath_; }
  /// The shared-data folder's "SITE" folder.
  const std::string& SitePath() const { return sitePath_; }
  /// The shared-data folder's "COMPANY" folder.
  const std::string& CompanyPath() const { return companyPath_; }
  /// The shared-data folder's "USER" folder.
  const std::string& UserPath() const { return userPath_; }
  /// The folder of one company; an empty org ID gives CompanyPath itself.
  std::string OrgPath(const std::string& sOrgId) const;
  /// Makes RuntimePath the current directory; a failure is ignored.
  void CWDToRuntime() const;

 private:
  void ReadFolders(platform::Registry& registry);

  bool installed_ = true;
  std::string programsPath_;
  std::string runtimePath_;
  std::string sharedDataPath_;
  std::string sitePath_;
  std::string companyPath_;
  std::string userPath_;
};

}  // namespace host
