#pragma once

#include "about/Sources.h"
#include "host/AccpacPaths.h"
#include "platform/Registry.h"

#include <filesystem>
#include <optional>
#include <string>

namespace about {

/// The version texts of the running program and of the ERP installation it runs on.
class HostVersionTexts : public VersionTexts {
 public:
  /// Describes `executable` and the installation of `paths`, whose edition is in `registry`.
  HostVersionTexts(const host::AccpacPaths& paths, platform::Registry& registry,
                   std::filesystem::path executable = "/proc/self/exe");

  std::string ProgramBuild() override;
  std::string SystemManagerVersion() override;

 private:
  const host::AccpacPaths& paths_;
  platform::Registry& registry_;
  std::filesystem::path executable_;
};

/// Reads the site's own configuration record through the ERP's site configuration library.
class AccpacSiteConfigurationReader : public SiteConfigurationReader {
 public:
  /// Reads the site of the installation that `paths` describes.
  explicit AccpacSiteConfigurationReader(const host::AccpacPaths& paths);

  std::optional<SiteClient> ReadSiteClient() override;

 private:
  const host::AccpacPaths& paths_;
};

}  // namespace about
