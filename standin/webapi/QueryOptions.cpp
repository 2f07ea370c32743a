#include "standin/webapi/QueryOptions.h"

#include "platform/Text.h"
#include "standin/webapi/WebApiError.h"

#include <charconv>
#include <set>

namespace erp::webapi {
namespace {

long long count(const std::string& name, const std::string& value) {
  long long number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (value.empty() || error != std::errc() || stop != end || number < 0) {
    throw invalidParameters(name + " takes a whole number from 0 up, not \"" + value + "\".");
  }
  return number;
}

std::vector<std::string> selection(const std::string& value) {
  std::vector<std::string> names;
  size_t start = 0;
  while (true) {
    const size_t comma = value.find(',', start);
    std::string name = platform::Trim(value.substr(start, comma - start));
    if (name.empty()) throw invalidParameters("$select names an empty property.");
    if (name != "*") names.push_back(std::move(name));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

}  // namespace

QueryOptions parseQueryOptions(const QueryParameters& parameters) {
  QueryOptions options;
  std::set<std::string> seen;
  for (const auto& [name, value] : parameters) {
    if (!name.starts_with('$')) continue;
    if (!seen.insert(name).second) throw invalidParameters(name + " is given twice.");
    if (name == "$top") {
      options.top = count(name, value);
    } else if (name == "$skip") {
      options.skip = count(name, value);
    } else if (name == "$count") {
      if (value != "true" && value != "false") {
        throw invalidParameters("$count takes true or false, not \"" + value + "\".");
      }
      options.count = value == "true";
    } else if (name == "$select") {
      options.select = selection(value);
    } else if (name == "$filter") {
      options.filter = value;
    } else {
      throw invalidParameters("The query option " + name + " is not supported.");
    }
  }
  return options;
}

}  // namespace erp::webapi
