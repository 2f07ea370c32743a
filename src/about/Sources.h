#pragma once

#include <optional>
#include <string>

namespace about {

/// Describes the running program and the installed ERP for the About window.
class VersionTexts {
 public:
  virtual ~VersionTexts() = default;
  /// The build of the running program, such as "Build 7440 created on 2020/05/15".
  virtual std::string ProgramBuild() = 0;
  /// The installed system manager, such as "(6.0A)(Premium)(Build 17)(Product Update 3)".
  virtual std::string SystemManagerVersion() = 0;
};

/// The registered ERP client of the site.
struct SiteClient {
  std::string clientName;
  std::string clientID;
};

/// Reads the client from the site's own configuration record.
class SiteConfigurationReader {
 public:
  virtual ~SiteConfigurationReader() = default;
  /// The site's client, or nullopt when the record cannot be read.
  virtual std::optional<SiteClient> ReadSiteClient() = 0;
};

}  // namespace about
