#include "standin/webapi/EntityModel.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

namespace erp::webapi {
namespace {

constexpr size_t kMaxNameLength = 28;

std::string publishedName(const std::string& viewId, const FieldDef& field) {
  for (const PublishedName& entry : publishedNames()) {
    if (entry.viewId == viewId && entry.field == field.name) return entry.property;
  }
  return {};
}

PropertySet buildProperties(const ViewDef& view, bool hideTax) {
  PropertySet set;
  set.view = &view;
  std::set<std::string> taken;
  const std::vector<int>& keyFields = view.keys.empty() ? std::vector<int>{} : view.keys[0].fields;
  for (const FieldDef& field : view.fields) {
    const bool key = std::find(keyFields.begin(), keyFields.end(), field.number) != keyFields.end();
    if (hideTax && !key && isTaxField(field)) continue;
    std::string name = publishedName(view.id, field);
    if (name.empty()) name = ruleName(field.description);
    // Two descriptions can meet once cut; the later field gets a number, as the ERP does.
    const std::string stem = name;
    for (int n = 2; taken.count(name) != 0; ++n) name = stem + std::to_string(n);
    taken.insert(name);
    set.properties.push_back({name, &field, key});
  }
  for (int number : keyFields) {
    set.keyIndexes.push_back(static_cast<size_t>(set.ofField(number) - set.properties.data()));
  }
  return set;
}

EntitySet buildSet(const EntitySetDef& def, bool hidden, const ViewCatalog& catalog) {
  EntitySet set{def.name, def.entityType, def.module, def.kind, def.readOnly, hidden, {}, {}};
  set.properties = buildProperties(catalog.get(def.viewId), hidden);
  for (const DetailDef& detail : def.details) {
    if (hidden && detail.taxRows) continue;
    std::string complexType = detail.property;
    if (complexType.ends_with('s')) complexType.pop_back();
    set.details.push_back(
        {detail.property, complexType, buildProperties(catalog.get(detail.viewId), hidden)});
  }
  return set;
}

}  // namespace

const Property* PropertySet::find(std::string_view name) const {
  for (const Property& property : properties) {
    if (property.name == name) return &property;
  }
  return nullptr;
}

std::vector<const Property*> PropertySet::keys() const {
  std::vector<const Property*> result;
  for (size_t index : keyIndexes) result.push_back(&properties[index]);
  return result;
}

const Property* PropertySet::ofField(int number) const {
  for (const Property& property : properties) {
    if (property.field->number == number) return &property;
  }
  return nullptr;
}

const DetailCollection* EntitySet::detail(std::string_view collection) const {
  for (const DetailCollection& entry : details) {
    if (entry.name == collection) return &entry;
  }
  return nullptr;
}

EntityModel::EntityModel(const std::vector<std::string>& hidden, const ViewCatalog& catalog) {
  for (const std::string& name : hidden) {
    const auto& table = entitySetTable();
    const bool known = std::any_of(table.begin(), table.end(), [&](const EntitySetDef& def) {
      return !def.readOnly && (def.name == name || def.kind == name);
    });
    if (!known) {
      throw std::invalid_argument("There is no kind or entity set " + name +
                                  " whose taxes could be hidden.");
    }
  }
  for (const EntitySetDef& def : entitySetTable()) {
    const bool hide = std::find_if(hidden.begin(), hidden.end(), [&](const std::string& name) {
                        return name == def.name || (!def.kind.empty() && name == def.kind);
                      }) != hidden.end();
    sets_.push_back(buildSet(def, hide, catalog));
  }
}

const EntitySet* EntityModel::find(std::string_view module, std::string_view name) const {
  for (const EntitySet& set : sets_) {
    if (set.module == module && set.name == name) return &set;
  }
  return nullptr;
}

std::vector<const EntitySet*> EntityModel::ofModule(std::string_view module) const {
  std::vector<const EntitySet*> result;
  for (const EntitySet& set : sets_) {
    if (set.module == module) result.push_back(&set);
  }
  return result;
}

std::string ruleName(const std::string& description) {
  std::string name;
  for (char c : description) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) name += c;
  }
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  return name;
}

bool isTaxField(const FieldDef& field) {
  switch (field.check) {
    case Check::TaxGroup:
    case Check::TaxAuthority:
    case Check::TaxClassOfGroup:
    case Check::TaxClassOfAuthority:
    case Check::TaxIncluded:
      return true;
    default:
      break;
  }
  // Per-row classes and flags of recurring details and vendors carry no check of their own.
  for (const char* prefix : {"Tax Class", "Tax Included", "Tax Registration"}) {
    if (field.description.starts_with(prefix)) return true;
  }
  return false;
}

std::string modelNamespace(const std::string& module) {
  return "Sage.CA.SBS.ERP.Sage300." + module + ".WebApi.Models";
}

}  // namespace erp::webapi
