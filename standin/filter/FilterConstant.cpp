#include "standin/filter/FilterConstant.h"

#include "platform/Text.h"

#include <charconv>
#include <cstdint>
#include <system_error>

namespace erp {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Digits, then optionally a point and more digits; nothing else (no exponent, no hex).
bool isPlainNumber(std::string_view digits, bool& hasFraction) {
  size_t i = 0;
  while (i < digits.size() && isDigit(digits[i])) ++i;
  if (i == 0) return false;
  hasFraction = i < digits.size();
  if (!hasFraction) return true;
  if (digits[i] != '.' || i + 1 == digits.size()) return false;
  for (++i; i < digits.size(); ++i) {
    if (!isDigit(digits[i])) return false;
  }
  return true;
}

}  // namespace

NumberReading readFilterNumber(std::string_view text, Value& value) {
  const std::string trimmed = platform::Trim(text);
  std::string_view number = trimmed;
  std::string_view digits = number;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  bool hasFraction = false;
  if (!isPlainNumber(digits, hasFraction)) return NumberReading::NotANumber;
  // from_chars takes a minus sign but no plus sign.
  if (number.front() == '+') number.remove_prefix(1);
  const char* end = number.data() + number.size();
  if (hasFraction) {
    double parsed = 0;
    auto [ptr, ec] = std::from_chars(number.data(), end, parsed);
    if (ec != std::errc() || ptr != end) return NumberReading::OutOfRange;
    value = parsed;
  } else {
    std::int64_t parsed = 0;
    auto [ptr, ec] = std::from_chars(number.data(), end, parsed);
    if (ec != std::errc() || ptr != end) return NumberReading::OutOfRange;
    value = parsed;
  }
  return NumberReading::Number;
}

std::string likeToGlob(std::string_view pattern) {
  std::string glob;
  glob.reserve(pattern.size());
  for (char c : pattern) {
    switch (c) {
      case '%':
        glob += '*';
        break;
      case '_':
        glob += '?';
        break;
      case '*':
        glob += "[*]";
        break;
      case '?':
        glob += "[?]";
        break;
      case '[':
        glob += "[[]";
        break;
      default:
        glob += c;
    }
  }
  return glob;
}

}  // namespace erp
