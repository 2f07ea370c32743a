#pragma once

#include "standin/site/SiteLayout.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace erp {

/// Result codes of DesktopLibrary::rotoCall.
enum RotoResult : int {
  kRotoOk = 0,
  kRotoBadRecord = 1,        ///< no record, or its size field is not 56
  kRotoBadOperation = 2,     ///< an operation other than link (3) or unlink (2)
  kRotoUnknownDesktop = 3,   ///< no desktop session has the object handle
  kRotoSiteUnavailable = 4,  ///< the site database could not be read or written
};

/// The desktop's window-link entry point: programs started from a desktop session link their
/// main window to it with a 56-byte record.
class DesktopLibrary {
 public:
  static constexpr std::size_t kRecordSize = 56;
  static constexpr std::int32_t kUnlink = 2;
  static constexpr std::int32_t kLink = 3;

  /// The library of the site in `sharedData`.
  explicit DesktopLibrary(std::filesystem::path sharedData);

  /// Carries out the link or unlink described by the little-endian record; 0 on success, else a
  /// RotoResult.
  int rotoCall(const void* record56);

 private:
  SiteLayout layout_;
};

}  // namespace erp
