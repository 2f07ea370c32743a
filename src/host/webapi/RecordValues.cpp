#include "host/webapi/RecordValues.h"

#include "host/webapi/FieldValues.h"
#include "platform/Text.h"

namespace host::webapi {
namespace {

FieldValues ValuesOf(const ViewLayout& layout, const std::vector<std::string>& properties,
                     const nlohmann::json& json) {
  FieldValues values;
  for (const FieldLayout& field : layout.fields) {
    const std::string& property = properties[static_cast<size_t>(field.info.index - 1)];
    const auto found = json.find(property);
    values.push_back(found == json.end() ? BlankValue(field.info)
                                         : FromJson(field.info, property, *found));
  }
  return values;
}

}  // namespace

RecordValues BlankRecord(const EntityMap& map) {
  RecordValues record;
  for (const FieldLayout& field : map.layout->fields)
    record.fields.push_back(BlankValue(field.info));
  record.rows.resize(map.details.size());
  return record;
}

RecordValues RecordOf(const EntityMap& map, const nlohmann::json& entity) {
  RecordValues record{ValuesOf(*map.layout, map.properties, entity), {}};
  for (const RowsMap& detail : map.details) {
    std::vector<FieldValues>& rows = record.rows.emplace_back();
    const auto found = entity.find(detail.collection);
    if (found == entity.end() || !found->is_array()) continue;
    for (const nlohmann::json& row : *found) {
      rows.push_back(ValuesOf(*detail.layout, detail.properties, row));
    }
  }
  return record;
}

FieldValues KeyOf(const ViewLayout& layout, const FieldValues& fields) {
  FieldValues key;
  for (int number : layout.keys.front().fields)
    key.push_back(fields.at(static_cast<size_t>(number - 1)));
  return key;
}

std::string RecordResource(const EntityMap& map, const FieldValues& key) {
  const std::vector<int>& fields = map.layout->keys.front().fields;
  if (fields.size() == 1) {
    return map.entitySet + "(" + ODataLiteral(map.layout->Field(fields[0])->info, key[0]) + ")";
  }
  std::string text = map.entitySet + "(";
  for (size_t i = 0; i < fields.size(); ++i) {
    text += (i ? "," : "") + map.Property(fields[i]) + "=" +
            ODataLiteral(map.layout->Field(fields[i])->info, key[i]);
  }
  return text + ")";
}

std::string KeyCondition(const EntityMap& map, const FieldValues& key) {
  const std::vector<int>& fields = map.layout->keys.front().fields;
  std::string text;
  for (size_t i = 0; i < fields.size(); ++i) {
    text += (i ? " and " : "") + map.Property(fields[i]) + " eq " +
            ODataLiteral(map.layout->Field(fields[i])->info, key[i]);
  }
  return text;
}

std::string KeyText(const FieldValues& key) {
  std::string text;
  for (const Variant& value : key) text += (text.empty() ? "" : "-") + VariantText(value);
  return text;
}

bool SameValue(const Variant& a, const Variant& b) {
  return platform::TrimRight(VariantText(a)) == platform::TrimRight(VariantText(b));
}

int CompareValues(const FieldValues& a, const FieldValues& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const auto* textA = std::get_if<std::string>(&a[i]);
    const auto* textB = std::get_if<std::string>(&b[i]);
    int order = 0;
    if (textA && textB) {
      order = textA->compare(*textB);
    } else {
      const double x = std::holds_alternative<double>(a[i])
                           ? std::get<double>(a[i])
                           : static_cast<double>(VariantInteger(a[i]));
      const double y = std::holds_alternative<double>(b[i])
                           ? std::get<double>(b[i])
                           : static_cast<double>(VariantInteger(b[i]));
      order = x < y ? -1 : x > y ? 1 : 0;
    }
    if (order != 0) return order < 0 ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace host::webapi
