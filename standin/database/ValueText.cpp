#include "standin/database/ValueText.h"

#include "platform/Text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace erp {
namespace {

std::optional<std::int64_t> parseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);
  std::int64_t result = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return result;
}

std::optional<double> parseDecimal(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  double result = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(result)) {
    return std::nullopt;
  }
  return result;
}

std::pair<std::int64_t, std::int64_t> integerRange(FieldType type) {
  switch (type) {
    case FieldType::Int16:
      return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case FieldType::Int32:
      return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    case FieldType::Boolean:
      return {0, 1};
    case FieldType::Date:
      return {0, 99991231};
    default:
      return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()};
  }
}

}  // namespace

std::string valueText(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return std::to_string(*whole);
  if (const auto* decimal = std::get_if<double>(&value)) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *decimal);
    return error == std::errc() ? std::string(buffer, end) : std::string();
  }
  return {};
}

std::optional<std::int64_t> valueInteger(const Value& value) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return *whole;
  if (const auto* decimal = std::get_if<double>(&value)) {
    if (std::trunc(*decimal) == *decimal && std::fabs(*decimal) < 9.2e18) {
      return static_cast<std::int64_t>(*decimal);
    }
    return std::nullopt;
  }
  if (const auto* text = std::get_if<std::string>(&value)) return parseInteger(*text);
  return 0;
}

std::optional<Value> coerceToField(const FieldDef& field, const Value& value) {
  if (field.type == FieldType::Text) return Value(platform::TrimRight(valueText(value)));
  if (field.type == FieldType::Decimal) {
    if (const auto* whole = std::get_if<std::int64_t>(&value)) {
      return Value(static_cast<double>(*whole));
    }
    if (const auto* decimal = std::get_if<double>(&value)) return Value(*decimal);
    if (std::holds_alternative<std::monostate>(value)) return Value(0.0);
    auto parsed = parseDecimal(std::get<std::string>(value));
    if (!parsed) return std::nullopt;
    return Value(*parsed);
  }
  auto whole = valueInteger(value);
  if (!whole) return std::nullopt;
  auto [low, high] = integerRange(field.type);
  if (*whole < low || *whole > high) return std::nullopt;
  return Value(*whole);
}

Value lowestValue(const FieldDef& field) {
  switch (field.type) {
    case FieldType::Text:
      return std::string();
    case FieldType::Decimal:
      return std::numeric_limits<double>::lowest();
    default:
      return integerRange(field.type).first;
  }
}

Value blankValue(const FieldDef& field) {
  switch (field.type) {
    case FieldType::Text:
      return std::string();
    case FieldType::Decimal:
      return 0.0;
    default:
      return std::int64_t{0};
  }
}

}  // namespace erp
