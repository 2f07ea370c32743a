#include "host/webapi/WebApiFailure.h"
#include "host/webapi/WebApiHost.h"

#include <iomanip>

namespace host::webapi {
namespace {

/// Whether the kind's records can be read at all, or why not.
std::string ReadCheck(WebApiCompany& company, const EntityMap& map) {
  FeedQuery query;
  for (int field : map.layout->keys.front().fields) query.select.push_back(map.Property(field));
  query.top = 1;
  try {
    company.Client().Get(map.module, map.entitySet, query);
  } catch (const WebApiFailure& failure) {
    return failure.what();
  }
  return {};
}

}  // namespace

int CheckServer(WebApiHost& host, const std::string& user, const std::string& company,
                const std::string& password, std::ostream& out) {
  auto transport =
      std::make_unique<WebApiTransport>(host.Settings().address, host.Settings().transport);
  transport->SetCredentials(user, password);
  WebApiCompany connected(std::move(transport), company, user, host.Maps());
  try {
    connected.Connect();
  } catch (const WebApiFailure& failure) {
    out << "Sign-on refused: " << failure.what() << '\n';
    return 3;
  }
  out << "Web API server " << host.Settings().address.Text() << ", company " << company << ", user "
      << user << '\n';
  for (const auto& [module, state] : connected.ModuleStates()) {
    out << "Module " << module << ": " << state << '\n';
  }
  bool taxes = connected.MetadataOf("TX") != nullptr;
  if (taxes) {
    try {
      connected.Taxes().GroupExists("", 0);
    } catch (const WebApiFailure& failure) {
      out << "The tax tables cannot be read: " << failure.what() << '\n';
      taxes = false;
    }
  }
  bool allConverted = taxes;
  out << std::left << std::setw(34) << "Kind" << std::setw(26) << "Entity set"
      << "Converted\n";
  for (const EntityMap& map : host.Maps().Maps()) {
    if (map.module == "TX") continue;
    std::string verdict;
    const auto state = connected.ModuleStates().find(map.module);
    if (state != connected.ModuleStates().end() && state->second == "not active") {
      verdict = "not checked: module " + map.module + " is not active";
    } else if (const ServiceMetadata* metadata = connected.MetadataOf(map.module); !metadata) {
      verdict = "no: " + *connected.ProblemOf(map);
    } else if (std::optional<std::string> missing = MissingFromMetadata(map, *metadata)) {
      verdict = "no: " + *missing;
    } else if (std::string unreadable = ReadCheck(connected, map); !unreadable.empty()) {
      verdict = "no: " + unreadable;
    } else {
      verdict = taxes ? "yes" : "no: the tax tables cannot be read";
    }
    if (verdict.starts_with("no")) allConverted = false;
    out << std::setw(34) << (map.layout->description + " (" + map.module + ")") << std::setw(26)
        << map.entitySet << verdict << '\n';
  }
  return allConverted ? 0 : 2;
}

}  // namespace host::webapi
