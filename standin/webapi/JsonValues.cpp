#include "standin/webapi/JsonValues.h"

#include "standin/webapi/WebApiError.h"

#include <cstdint>
#include <cstdio>

namespace erp::webapi {
namespace {

bool allDigits(const std::string& text, size_t from, size_t count) {
  for (size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

std::string dateText(std::int64_t yyyymmdd) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT00:00:00Z",
                static_cast<int>(yyyymmdd / 10000), static_cast<int>(yyyymmdd / 100 % 100),
                static_cast<int>(yyyymmdd % 100));
  return buffer;
}

}  // namespace

std::string edmType(const FieldDef& field) {
  switch (field.type) {
    case FieldType::Int16:
    case FieldType::Int32:
      return "Edm.Int32";
    case FieldType::Decimal:
      return "Edm.Decimal";
    case FieldType::Date:
      return "Edm.DateTimeOffset";
    case FieldType::Text:
    case FieldType::Boolean:
      break;
  }
  return "Edm.String";
}

bool nullable(const FieldDef& field, bool key) {
  return !key && (field.type == FieldType::Text || field.type == FieldType::Date);
}

Json toJson(const FieldDef& field, const Value& value) {
  switch (field.type) {
    case FieldType::Text:
      return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
    case FieldType::Decimal:
      if (const auto* decimal = std::get_if<double>(&value)) return *decimal;
      break;
    case FieldType::Boolean:
      return std::get_if<std::int64_t>(&value) && std::get<std::int64_t>(value) != 0 ? "Yes" : "No";
    case FieldType::Date:
      if (const auto* date = std::get_if<std::int64_t>(&value); date && *date != 0) {
        return dateText(*date);
      }
      return nullptr;
    case FieldType::Int16:
    case FieldType::Int32:
      break;
  }
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return *whole;
  if (const auto* decimal = std::get_if<double>(&value)) return *decimal;
  return 0;
}

long long parseDate(const std::string& text) {
  if (text.size() < 10 || !allDigits(text, 0, 4) || text[4] != '-' || !allDigits(text, 5, 2) ||
      text[7] != '-' || !allDigits(text, 8, 2)) {
    return -1;
  }
  const std::string rest = text.substr(10);
  if (!rest.empty() && rest != "Z" && rest != "T00:00:00" && rest != "T00:00:00Z") return -1;
  const long long year = std::stoll(text.substr(0, 4));
  const long long month = std::stoll(text.substr(5, 2));
  const long long day = std::stoll(text.substr(8, 2));
  if (month < 1 || month > 12 || day < 1 || day > 31) return -1;
  return year * 10000 + month * 100 + day;
}

Value fromJson(const FieldDef& field, const std::string& name, const Json& json) {
  auto refuse = [&name](const std::string& expected) {
    return invalidPayload("Property " + name + " takes " + expected + ".");
  };
  switch (field.type) {
    case FieldType::Text:
      if (json.is_null()) return std::string();
      if (!json.is_string()) throw refuse("a string");
      return json.get<std::string>();
    case FieldType::Boolean:
      if (json == "Yes") return std::int64_t{1};
      if (json == "No") return std::int64_t{0};
      throw refuse("\"Yes\" or \"No\"");
    case FieldType::Date: {
      if (json.is_null()) return std::int64_t{0};
      const long long date = json.is_string() ? parseDate(json.get<std::string>()) : -1;
      if (date < 0) throw refuse("a date such as \"2010-07-01T00:00:00Z\", or null");
      return std::int64_t{date};
    }
    case FieldType::Decimal:
      if (!json.is_number()) throw refuse("a number");
      return json.get<double>();
    case FieldType::Int16:
    case FieldType::Int32:
      break;
  }
  if (json.is_number_unsigned() && json.get<std::uint64_t>() > INT64_MAX)
    throw refuse("a whole number");
  if (!json.is_number_integer()) throw refuse("a whole number");
  return json.get<std::int64_t>();
}

}  // namespace erp::webapi
