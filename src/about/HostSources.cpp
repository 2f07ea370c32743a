#include "about/HostSources.h"

#include "host/AccpacSiteCnfg.h"
#include "host/VersionInfo.h"

#include <utility>

namespace about {

HostVersionTexts::HostVersionTexts(const host::AccpacPaths& paths, platform::Registry& registry,
                                   std::filesystem::path executable)
    : paths_(paths), registry_(registry), executable_(std::move(executable)) {}

std::string HostVersionTexts::ProgramBuild() {
  return host::GetProgramBuild(executable_);
}

std::string HostVersionTexts::SystemManagerVersion() {
  return host::GetSystemManagerVersion(paths_, registry_);
}

AccpacSiteConfigurationReader::AccpacSiteConfigurationReader(const host::AccpacPaths& paths)
    : paths_(paths) {}

std::optional<SiteClient> AccpacSiteConfigurationReader::ReadSiteClient() {
  host::AccpacSiteCnfg config(paths_);
  if (!config.OPEN_()) return std::nullopt;
  // An empty org ID selects the record of the site itself rather than of one company.
  config.OrgID("");
  std::optional<SiteClient> client;
  if (config.Get_()) client = SiteClient{config.ClientName(), config.ClientID()};
  config.CLOSE_();
  return client;
}

}  // namespace about
