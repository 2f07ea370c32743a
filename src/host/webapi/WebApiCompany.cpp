#include "host/webapi/WebApiCompany.h"

#include "host/webapi/WebApiFailure.h"

#include <algorithm>

namespace host::webapi {
namespace {

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  return text;
}

/// The properties a view's records must have for the program: keys, the fields it verifies and
/// changes, and those it reads besides.
std::vector<int> RequiredFields(const ViewLayout& layout, const std::vector<int>& alsoRead) {
  std::vector<int> fields = layout.keys.empty() ? std::vector<int>{} : layout.keys.front().fields;
  for (const FieldLayout& field : layout.fields) {
    if (field.TaxField()) fields.push_back(field.info.index);
  }
  fields.insert(fields.end(), alsoRead.begin(), alsoRead.end());
  return fields;
}

}  // namespace

const std::vector<std::string>& WebApiModules() {
  static const std::vector<std::string> modules{"TX", "AP", "AR", "IC", "OE", "PO", "BK"};
  return modules;
}

std::optional<std::string> MissingFromMetadata(const EntityMap& map,
                                               const ServiceMetadata& metadata) {
  const TypeShape* entity = metadata.EntityType(map.entitySet);
  if (!entity) return "the server offers no entity set " + map.entitySet + ".";
  std::vector<std::string> missing;
  for (int field : RequiredFields(*map.layout, map.alsoRead)) {
    if (!entity->properties.contains(map.Property(field))) missing.push_back(map.Property(field));
  }
  for (const RowsMap& rows : map.details) {
    const TypeShape* row = metadata.RowType(map.entitySet, rows.collection);
    if (!row) {
      missing.push_back(rows.collection);
      continue;
    }
    for (const std::string& property : rows.properties) {
      if (!row->properties.contains(property)) missing.push_back(rows.collection + "/" + property);
    }
  }
  if (missing.empty()) return std::nullopt;
  return map.entitySet + " lacks " + Listed(missing) + ".";
}

WebApiCompany::WebApiCompany(std::unique_ptr<WebApiTransport> transport, std::string company,
                             std::string user, const PropertyMaps& maps)
    : transport_(std::move(transport)),
      client_(*transport_, std::move(company)),
      user_(std::move(user)),
      maps_(maps),
      taxes_(client_, maps_) {}

std::vector<std::string> WebApiCompany::Connect() {
  std::vector<std::string> warnings;
  for (const std::string& module : WebApiModules()) {
    try {
      metadata_[module] = ParseMetadata(client_.Metadata(module));
      active_.push_back(module);
      states_[module] = "active";
    } catch (const WebApiFailure& failure) {
      // Tax Services decides the sign-on: without it nothing can be converted.
      const bool signon = module == WebApiModules().front();
      if (failure.What() != WebApiFailure::Kind::Answered || failure.Status() == 401 ||
          failure.Code() == "SessionError" || (signon && failure.Status() != 404)) {
        throw;
      }
      states_[module] =
          failure.Status() == 404 ? "not active" : std::string("cannot be used: ") + failure.what();
    } catch (const std::invalid_argument& error) {
      states_[module] = std::string("cannot be used: ") + error.what();
    }
    if (states_[module].starts_with("cannot")) {
      warnings.push_back("Module " + module + " " + states_[module]);
    }
  }
  for (const EntityMap& map : maps_.Maps()) {
    const ServiceMetadata* metadata = MetadataOf(map.module);
    if (!metadata) continue;
    if (std::optional<std::string> missing = MissingFromMetadata(map, *metadata)) {
      problems_[&map] =
          map.layout->description + " cannot be converted through this server: " + *missing;
      warnings.push_back(problems_[&map]);
    }
  }
  return warnings;
}

const ServiceMetadata* WebApiCompany::MetadataOf(const std::string& module) const {
  const auto found = metadata_.find(module);
  return found == metadata_.end() ? nullptr : &found->second;
}

std::optional<std::string> WebApiCompany::ProblemOf(const EntityMap& map) const {
  if (!MetadataOf(map.module)) {
    return "Module " + map.module + " of " + map.layout->description +
           " cannot be used through the Web API by user " + user_ + " in company " + CompanyId() +
           ".";
  }
  const auto found = problems_.find(&map);
  if (found == problems_.end()) return std::nullopt;
  return found->second;
}

bool WebApiCompany::Offers(const EntityMap& map, const std::string& property,
                           const RowsMap* rows) const {
  const ServiceMetadata* metadata = MetadataOf(map.module);
  if (!metadata) return false;
  const TypeShape* shape = rows ? metadata->RowType(map.entitySet, rows->collection)
                                : metadata->EntityType(map.entitySet);
  return shape && shape->properties.contains(property);
}

}  // namespace host::webapi
