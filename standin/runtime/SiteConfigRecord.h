#pragma once

#include "standin/site/SiteDatabase.h"

#include <cstddef>
#include <cstdint>

namespace erp {

/// Result codes of the site configuration library's entry points.
enum SiteConfigResult : std::int32_t {
  kSiteConfigOk = 0,
  kSiteConfigNoSite = 2,       ///< the shared-data folder holds no readable site database
  kSiteConfigBadHandle = 3,    ///< the handle was not given out by an open, or is closed
  kSiteConfigNoRecord = 4,     ///< no configuration record has the org ID of the request
  kSiteConfigShortRecord = 5,  ///< the caller's record is smaller than 256 bytes
  kSiteConfigReadFailed = 6,   ///< the site database could not be read
  kSiteConfigBadArgument = 7,  ///< a null handle address, folder or record
};

/// Byte layout of the 256-byte site configuration record exchanged with programs.
struct SiteConfigLayout {
  static constexpr std::size_t kSize = 256;
  static constexpr std::size_t kOrgId = 0;
  static constexpr std::size_t kOrgIdLength = 6;
  static constexpr std::size_t kClientId = 6;
  static constexpr std::size_t kClientName = 66;
  static constexpr std::size_t kDealer = 140;
  static constexpr std::size_t kConsultant = 175;
  static constexpr std::size_t kContact = 210;
};

/// Fills `record` with the configuration record of the org ID in its first six bytes (all blanks
/// for the site itself): every byte after the org ID is a blank except the fields' texts. The org
/// ID bytes are left as they are. Returns a SiteConfigResult.
std::int32_t fillSiteConfigRecord(const SiteDatabase& site, char* record, std::int32_t size);

}  // namespace erp
