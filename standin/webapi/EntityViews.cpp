#include "standin/webapi/EntityViews.h"

#include "standin/database/ErpError.h"
#include "standin/database/ValueText.h"
#include "standin/webapi/WebApiError.h"

namespace erp::webapi {
namespace {

/// A value as a quoted ERP filter string; the blank keeps a final backslash from escaping the
/// quote, and the ERP ignores trailing blanks.
std::string erpString(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    if (c == '"') result += '\\';
    result += c;
  }
  return result + " \"";
}

std::string odataLiteral(const FieldDef& field, const Value& value) {
  if (field.type != FieldType::Text) return valueText(value);
  std::string result = "'";
  for (char c : valueText(value)) {
    result += c;
    if (c == '\'') result += '\'';
  }
  return result + "'";
}

}  // namespace

Selection::Selection(const EntitySet& set, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!set.properties.find(name) && !set.detail(name)) {
      throw invalidParameters("$select: " + set.name + " has no property " + name + ".");
    }
    names_.insert(name);
  }
}

EntityViews::EntityViews(const EntitySet& set, std::shared_ptr<CompanyDatabase> database,
                         ErrorList& errors, bool readOnly)
    : set_(set),
      header_(std::make_unique<DataSource>(database, errors, readOnly, set.properties.view->id)) {
  for (const DetailCollection& detail : set.details) {
    details_.push_back(
        std::make_unique<DataSource>(database, errors, readOnly, detail.rows.view->id));
    header_->composeDetail(*details_.back());
  }
}

bool EntityViews::read(const std::vector<Value>& key) {
  header_->clear();
  const std::vector<int>& fields = set_.properties.view->keys.front().fields;
  for (size_t i = 0; i < fields.size(); ++i) header_->put(fields[i], key.at(i), false);
  return header_->read();
}

void EntityViews::browse(const std::string& filter) {
  header_->clear();
  // A blank number would start the walk at zero; every key value counts.
  for (int number : set_.properties.view->keys.front().fields) {
    header_->put(number, lowestValue(header_->field(number)), false);
  }
  try {
    header_->browse(filter);
  } catch (const ErpError& error) {
    throw invalidParameters(std::string("$filter: ") + error.what());
  }
}

Json EntityViews::json(const Selection& selection) {
  Json record = Json::object();
  for (const Property& property : set_.properties.properties) {
    if (!selection.shows(property.name)) continue;
    record[property.name] = toJson(*property.field, header_->value(property.field->number));
  }
  for (size_t i = 0; i < set_.details.size(); ++i) {
    if (selection.shows(set_.details[i].name)) record[set_.details[i].name] = rows(i);
  }
  return record;
}

Json EntityViews::rows(size_t index) {
  DataSource& detail = *details_[index];
  const PropertySet& properties = set_.details[index].rows;
  std::string filter;
  for (int number : set_.properties.view->keys.front().fields) {
    const FieldDef& field = header_->field(number);
    if (!filter.empty()) filter += " AND ";
    const std::string value = header_->text(number);
    filter +=
        "(" + field.name + " = " + (field.type == FieldType::Text ? erpString(value) : value) + ")";
  }
  detail.clear();
  detail.browse(filter);
  Json rows = Json::array();
  while (detail.fetch()) {
    Json row = Json::object();
    for (const Property& property : properties.properties) {
      row[property.name] = toJson(*property.field, detail.value(property.field->number));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string EntityViews::keyText() {
  const std::vector<const Property*> keys = set_.properties.keys();
  if (keys.size() == 1) {
    return "(" + odataLiteral(*keys[0]->field, header_->value(keys[0]->field->number)) + ")";
  }
  std::string text;
  for (const Property* key : keys) {
    text += (text.empty() ? "(" : ",") + key->name + "=" +
            odataLiteral(*key->field, header_->value(key->field->number));
  }
  return text + ")";
}

}  // namespace erp::webapi
