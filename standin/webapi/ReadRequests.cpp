#include "standin/webapi/ReadRequests.h"

#include "standin/webapi/EntityViews.h"
#include "standin/webapi/ODataFilter.h"
#include "standin/webapi/ResourcePath.h"
#include "standin/webapi/WebApiError.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace erp::webapi {
namespace {

std::string selectText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ",") + name;
  return text;
}

std::string nextLink(const EntitySet& set, const ModuleContext& context,
                     const QueryOptions& options, long long returned) {
  std::string link =
      context.moduleUrl + set.name + "?$skip=" + std::to_string(options.skip + returned);
  if (options.top) link += "&$top=" + std::to_string(*options.top - returned);
  if (!options.filter.empty()) link += "&$filter=" + percentEncoded(options.filter);
  if (!options.select.empty()) link += "&$select=" + percentEncoded(selectText(options.select));
  if (options.count) link += "&$count=true";
  return link;
}

}  // namespace

std::string percentEncoded(const std::string& text) {
  std::string result;
  for (unsigned char c : text) {
    if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      result += static_cast<char>(c);
    } else {
      char buffer[4];
      std::snprintf(buffer, sizeof buffer, "%%%02X", c);
      result += buffer;
    }
  }
  return result;
}

Json feed(const EntitySet& set, const ModuleContext& context, const QueryOptions& options,
          int pageSize) {
  const Selection selection(set, options.select);
  const std::string filter =
      options.filter.empty() ? std::string() : translateFilter(set.properties, options.filter);
  ErrorList errors;
  EntityViews views(set, context.database, errors, true);
  views.browse(filter);
  for (long long skipped = 0; skipped < options.skip && views.header().fetch(); ++skipped) {
  }
  const long long limit = std::min<long long>(options.top.value_or(pageSize), pageSize);
  Json records = Json::array();
  while (static_cast<long long>(records.size()) < limit && views.header().fetch()) {
    records.push_back(views.json(selection));
  }
  const long long returned = static_cast<long long>(records.size());
  const bool topLeft = !options.top || *options.top > returned;
  const bool more = returned == limit && topLeft && views.header().fetch();

  Json page = Json::object();
  page["odata.metadata"] = context.moduleUrl + "$metadata#" + set.name;
  if (options.count) page["odata.count"] = views.header().count(filter);
  page["value"] = std::move(records);
  if (more) page["odata.nextLink"] = nextLink(set, context, options, returned);
  return page;
}

Json entity(const EntitySet& set, const ModuleContext& context, const std::string& keyText,
            const QueryOptions& options) {
  if (options.top || options.skip != 0 || options.count || !options.filter.empty()) {
    throw invalidParameters("A single record takes only $select.");
  }
  const Selection selection(set, options.select);
  const std::vector<Value> key = parseKey(set.properties, set.name, keyText);
  ErrorList errors;
  EntityViews views(set, context.database, errors, true);
  if (!views.read(key)) {
    throw WebApiError(404, "RecordNotFound", set.name + "(" + keyText + ") does not exist.");
  }
  Json record = Json::object();
  record["odata.metadata"] = context.moduleUrl + "$metadata#" + set.name + "/@Element";
  record.update(views.json(selection));
  return record;
}

Json serviceDocument(const EntityModel& model, const std::string& module,
                     const std::string& moduleUrl) {
  Json sets = Json::array();
  for (const EntitySet* set : model.ofModule(module)) {
    sets.push_back({{"name", set->name}, {"url", set->name}});
  }
  return {{"odata.metadata", moduleUrl + "$metadata"}, {"value", std::move(sets)}};
}

}  // namespace erp::webapi
