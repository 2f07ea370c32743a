#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace util {

/// A value read from or written to the registry: empty, text, 32-bit number or byte array.
using RegValue = std::variant<std::monostate, std::string, std::int32_t, std::vector<std::uint8_t>>;

/// The value as text: empty gives "", a number its decimal digits, a byte array its bytes.
std::string RegValueText(const RegValue& value);

}  // namespace util
