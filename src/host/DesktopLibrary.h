#pragma once

#include <array>
#include <cstdint>

namespace host {

/// The 56-byte record of the desktop link call.
using DesktopLinkRecord = std::array<std::uint8_t, 56>;

/// The ERP desktop's library that links program windows to desktop objects.
class DesktopLibrary {
 public:
  virtual ~DesktopLibrary() = default;
  /// Performs the call described by the record; 0 means success.
  virtual std::int32_t rotoCall(const DesktopLinkRecord& record) = 0;
};

}  // namespace host
