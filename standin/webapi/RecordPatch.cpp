#include "standin/webapi/RecordPatch.h"

#include "platform/Text.h"
#include "standin/database/ErpError.h"
#include "standin/database/ValueText.h"
#include "standin/webapi/WebApiError.h"

#include <algorithm>
#include <functional>

namespace erp::webapi {
namespace {

enum class Operation { Unspecified, Insert, Update, Delete };

/// Runs one step of the views; a refusal becomes the error payload with the view's message.
void viewStep(DataSource& source, const std::function<void()>& step) {
  try {
    step();
  } catch (const ErpError& error) {
    switch (source.lastReturnCode()) {
      case kRcDuplicate:
        throw WebApiError(409, "RecordDuplicate", error.what());
      case kRcNotFound:
        throw WebApiError(404, "RecordNotFound", error.what());
      case kRcLocked:
        throw WebApiError(503, "DBLinkError", error.what());
      default:
        throw WebApiError(400, "RecordInvalid", error.what());
    }
  }
}

bool sameValue(const Value& a, const Value& b) {
  return platform::TrimRight(valueText(a)) == platform::TrimRight(valueText(b));
}

Operation operationOf(const Json& row, const std::string& collection) {
  const auto found = row.find("UpdateOperation");
  if (found == row.end()) {
    throw invalidPayload("Every row of " + collection + " needs an UpdateOperation.");
  }
  for (const auto& [name, operation] :
       {std::pair{"Unspecified", Operation::Unspecified}, std::pair{"Insert", Operation::Insert},
        std::pair{"Update", Operation::Update}, std::pair{"Delete", Operation::Delete}}) {
    if (*found == name) return operation;
  }
  throw invalidPayload("UpdateOperation takes Unspecified, Insert, Update or Delete, not " +
                       found->dump() + ".");
}

class Patch {
 public:
  explicit Patch(EntityViews& views) : views_(views), set_(views.set()) {}

  void apply(const Json& body) {
    if (!body.is_object()) throw invalidPayload("The body must be a JSON object.");
    for (const auto& [name, value] : body.items()) {
      if (const Property* property = set_.properties.find(name)) {
        putHeader(*property, value);
      } else if (const DetailCollection* detail = set_.detail(name)) {
        applyRows(static_cast<size_t>(detail - set_.details.data()), value);
      } else {
        throw invalidPayload(set_.name + " has no property " + name + ".");
      }
    }
    DataSource& header = views_.header();
    viewStep(header, [&header] { header.update(); });
    if (header.lastReturnCode() != kRcOk) {
      const auto& errors = header.errors().entries();
      throw WebApiError(409, "General",
                        errors.empty() ? "The record was not saved." : errors.back().text);
    }
  }

 private:
  void putHeader(const Property& property, const Json& json) {
    DataSource& header = views_.header();
    const Value value = fromJson(*property.field, property.name, json);
    if (property.key) {
      if (!sameValue(value, header.value(property.field->number))) {
        throw invalidPayload("The key property " + property.name + " cannot be changed.");
      }
      return;
    }
    viewStep(header, [&] { header.put(property.field->number, value, true); });
  }

  /// Whether the detail field is one of the header's key fields, which the composition fills.
  bool linked(const FieldDef& field) const {
    const ViewDef& view = *set_.properties.view;
    for (int number : view.keys.front().fields) {
      if (view.field(number)->name == field.name) return true;
    }
    return false;
  }

  void applyRows(size_t index, const Json& rows) {
    const DetailCollection& detail = set_.details[index];
    if (!rows.is_array()) throw invalidPayload(detail.name + " must be a JSON array of rows.");
    for (const Json& row : rows) {
      if (!row.is_object()) throw invalidPayload("A row of " + detail.name + " must be an object.");
      applyRow(index, row, operationOf(row, detail.name));
    }
  }

  void applyRow(size_t index, const Json& row, Operation operation) {
    const DetailCollection& detail = set_.details[index];
    DataSource& source = views_.detail(index);
    std::vector<std::pair<const Property*, Value>> keys;
    std::vector<std::pair<const Property*, Value>> others;
    source.clear();
    for (const auto& [name, json] : row.items()) {
      if (name == "UpdateOperation") continue;
      const Property* property = detail.rows.find(name);
      if (!property)
        throw invalidPayload("A row of " + detail.name + " has no property " + name + ".");
      Value value = fromJson(*property->field, name, json);
      if (property->key && linked(*property->field)) {
        if (!sameValue(value, source.value(property->field->number))) {
          throw invalidPayload(name + " of a row of " + detail.name + " must be the record's own.");
        }
      } else {
        (property->key ? keys : others).emplace_back(property, std::move(value));
      }
    }
    if (operation == Operation::Unspecified) return;
    for (const Property* key : detail.rows.keys()) {
      const bool given = linked(*key->field) ||
                         std::any_of(keys.begin(), keys.end(),
                                     [key](const auto& entry) { return entry.first == key; });
      if (!given) throw invalidPayload("A row of " + detail.name + " needs " + key->name + ".");
    }
    const bool insert = operation == Operation::Insert;
    for (const auto& entry : keys) {
      viewStep(source, [&] { source.put(entry.first->field->number, entry.second, insert); });
    }
    if (!insert && !source.read()) {
      throw WebApiError(404, "RecordNotFound",
                        "A row of " + detail.name + " with that key does not exist.");
    }
    if (operation == Operation::Delete) {
      viewStep(source, [&source] { source.remove(); });
      return;
    }
    for (const auto& entry : others) {
      viewStep(source, [&] { source.put(entry.first->field->number, entry.second, true); });
    }
    viewStep(source, [&] { insert ? source.insert() : source.update(); });
  }

  EntityViews& views_;
  const EntitySet& set_;
};

}  // namespace

void applyPatch(EntityViews& views, const std::vector<Value>& key, const Json& body) {
  if (!views.read(key)) {
    throw WebApiError(404, "RecordNotFound",
                      views.set().name + views.keyText() + " does not exist.");
  }
  Patch(views).apply(body);
}

}  // namespace erp::webapi
