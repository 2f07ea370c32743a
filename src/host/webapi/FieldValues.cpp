#include "host/webapi/FieldValues.h"

#include "host/webapi/FilterTranslation.h"
#include "platform/Text.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace host::webapi {
namespace {

std::optional<std::int64_t> WholeOf(std::string_view text) {
  const std::string trimmed = platform::Trim(text);
  std::string_view view = trimmed;
  if (!view.empty() && view.front() == '+') view.remove_prefix(1);
  std::int64_t result = 0;
  auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), result);
  if (view.empty() || error != std::errc() || end != view.data() + view.size()) return std::nullopt;
  return result;
}

std::optional<double> DecimalOf(std::string_view text) {
  const std::string trimmed = platform::Trim(text);
  double result = 0;
  auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), result);
  if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size() ||
      !std::isfinite(result)) {
    return std::nullopt;
  }
  return result;
}

std::pair<std::int64_t, std::int64_t> RangeOf(FieldType type) {
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

std::optional<std::int64_t> WholeValue(const Variant& value) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return *whole;
  if (const auto* decimal = std::get_if<double>(&value)) {
    if (std::trunc(*decimal) == *decimal && std::fabs(*decimal) < 9.2e18) {
      return static_cast<std::int64_t>(*decimal);
    }
    return std::nullopt;
  }
  if (const auto* text = std::get_if<std::string>(&value)) return WholeOf(*text);
  return 0;
}

/// YYYYMMDD of an ISO date ("2010-07-01", with or without a time and zone) or of
/// "/Date(milliseconds)/"; nullopt for anything else.
std::optional<std::int64_t> DateOf(const std::string& text) {
  if (text.starts_with("/Date(") && text.ends_with(")/")) {
    std::string digits = text.substr(6, text.size() - 8);
    digits = digits.substr(0, digits.find_first_of("+", 1));
    const std::optional<std::int64_t> milliseconds = WholeOf(digits);
    if (!milliseconds) return std::nullopt;
    const std::chrono::sys_days day = std::chrono::floor<std::chrono::days>(
        std::chrono::sys_time<std::chrono::milliseconds>(std::chrono::milliseconds(*milliseconds)));
    const std::chrono::year_month_day date(day);
    return static_cast<std::int64_t>(static_cast<int>(date.year())) * 10000 +
           static_cast<unsigned>(date.month()) * 100 + static_cast<unsigned>(date.day());
  }
  if (text.size() < 10 || text[4] != '-' || text[7] != '-' ||
      (text.size() > 10 && text[10] != 'T')) {
    return std::nullopt;
  }
  const auto year = WholeOf(text.substr(0, 4));
  const auto month = WholeOf(text.substr(5, 2));
  const auto day = WholeOf(text.substr(8, 2));
  if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) {
    return std::nullopt;
  }
  return *year * 10000 + *month * 100 + *day;
}

[[noreturn]] void Unexpected(const std::string& property, const nlohmann::json& json) {
  std::string shown = json.dump();
  if (shown.size() > 40) shown = shown.substr(0, 40) + "...";
  throw std::invalid_argument("The Web API server gave " + property + " the value " + shown +
                              ", which the program cannot read.");
}

std::optional<Variant> BooleanOf(const nlohmann::json& json) {
  if (json.is_boolean()) return std::int64_t{json.get<bool>() ? 1 : 0};
  if (json.is_number_integer()) {
    const auto number = json.get<std::int64_t>();
    if (number == 0 || number == 1) return number;
  }
  if (json.is_string()) {
    const std::string text = json.get<std::string>();
    if (text == "Yes" || text == "True" || text == "true" || text == "1") return std::int64_t{1};
    if (text == "No" || text == "False" || text == "false" || text == "0") return std::int64_t{0};
  }
  return std::nullopt;
}

}  // namespace

std::optional<Variant> Coerced(const FieldInfo& field, const Variant& value) {
  if (field.type == FieldType::Text) return Variant(platform::TrimRight(VariantText(value)));
  if (field.type == FieldType::Decimal) {
    if (const auto* whole = std::get_if<std::int64_t>(&value))
      return Variant(static_cast<double>(*whole));
    if (const auto* decimal = std::get_if<double>(&value)) return Variant(*decimal);
    if (std::holds_alternative<std::monostate>(value)) return Variant(0.0);
    const std::optional<double> parsed = DecimalOf(std::get<std::string>(value));
    if (!parsed) return std::nullopt;
    return Variant(*parsed);
  }
  const std::optional<std::int64_t> whole = WholeValue(value);
  const auto [low, high] = RangeOf(field.type);
  if (!whole || *whole < low || *whole > high) return std::nullopt;
  return Variant(*whole);
}

Variant BlankValue(const FieldInfo& field) {
  if (field.type == FieldType::Text) return std::string();
  if (field.type == FieldType::Decimal) return 0.0;
  return std::int64_t{0};
}

Variant LowestValue(const FieldInfo& field) {
  if (field.type == FieldType::Text) return std::string();
  if (field.type == FieldType::Decimal) return std::numeric_limits<double>::lowest();
  return RangeOf(field.type).first;
}

Variant FromJson(const FieldInfo& field, const std::string& property, const nlohmann::json& json) {
  if (json.is_null()) return BlankValue(field);
  std::optional<Variant> value;
  switch (field.type) {
    case FieldType::Text:
      if (json.is_string()) value = platform::TrimRight(json.get<std::string>());
      break;
    case FieldType::Boolean:
      value = BooleanOf(json);
      break;
    case FieldType::Date:
      if (json.is_string()) {
        if (const auto date = DateOf(json.get<std::string>())) value = *date;
      }
      break;
    case FieldType::Decimal:
      if (json.is_number()) value = json.get<double>();
      if (json.is_string()) {
        if (const auto decimal = DecimalOf(json.get<std::string>())) value = *decimal;
      }
      break;
    case FieldType::Int16:
    case FieldType::Int32:
      if (json.is_number_integer()) value = json.get<std::int64_t>();
      if (json.is_string()) {
        if (const auto whole = WholeOf(json.get<std::string>())) value = *whole;
      }
      break;
  }
  if (!value) Unexpected(property, json);
  return *value;
}

nlohmann::ordered_json ToJson(const FieldInfo& field, const Variant& value) {
  switch (field.type) {
    case FieldType::Text:
      return VariantText(value);
    case FieldType::Boolean:
      return VariantInteger(value) != 0 ? "Yes" : "No";
    case FieldType::Date: {
      const std::int64_t date = VariantInteger(value);
      if (date == 0) return nullptr;
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT00:00:00Z",
                    static_cast<int>(date / 10000), static_cast<int>(date / 100 % 100),
                    static_cast<int>(date % 100));
      return buffer;
    }
    case FieldType::Decimal:
      if (const auto* decimal = std::get_if<double>(&value)) return *decimal;
      return static_cast<double>(VariantInteger(value));
    case FieldType::Int16:
    case FieldType::Int32:
      break;
  }
  return VariantInteger(value);
}

std::string ODataLiteral(const FieldInfo& field, const Variant& value) {
  if (field.type == FieldType::Text) return ODataString(VariantText(value));
  if (field.type == FieldType::Boolean)
    return ODataString(VariantInteger(value) != 0 ? "Yes" : "No");
  return VariantText(value);
}

}  // namespace host::webapi
