#include "host/Variant.h"

#include <charconv>
#include <cmath>

namespace host {

std::string VariantText(const Variant& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return std::to_string(*whole);
  if (const auto* decimal = std::get_if<double>(&value)) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *decimal);
    return error == std::errc() ? std::string(buffer, end) : std::string();
  }
  return {};
}

std::int64_t VariantInteger(const Variant& value) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return *whole;
  if (const auto* decimal = std::get_if<double>(&value)) {
    return std::isfinite(*decimal) ? static_cast<std::int64_t>(*decimal) : 0;
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::string_view view = *text;
    while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
    std::int64_t result = 0;
    std::from_chars(view.data(), view.data() + view.size(), result);
    return result;
  }
  return 0;
}

bool VariantBoolean(const Variant& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    return *text == "1" || *text == "True" || *text == "Yes" || *text == "true";
  }
  return VariantInteger(value) != 0;
}

}  // namespace host
