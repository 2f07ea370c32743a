#pragma once

#include "host/HostError.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace convert {

/// A class cell or class field as the 16-bit number the matching compares; text that is not a
/// number is an error, as it is for the ERP.
inline std::int16_t ClassNumber(const std::string& text) {
  std::string_view view = text;
  while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
  while (!view.empty() && view.back() == ' ') view.remove_suffix(1);
  std::int16_t number = 0;
  auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), number);
  if (view.empty() || error != std::errc() || end != view.data() + view.size()) {
    throw host::HostError(host::HostError::kGeneralFailure,
                          "Type mismatch: \"" + text + "\" is not a tax class.");
  }
  return number;
}

}  // namespace convert
