#pragma once

#include "host/ErrorListView.h"
#include "host/Session.h"
#include "host/webapi/Metadata.h"
#include "host/webapi/ODataClient.h"
#include "host/webapi/PropertyMaps.h"
#include "host/webapi/TaxTables.h"
#include "host/webapi/WebApiTransport.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host::webapi {

/// The modules whose Web API the program asks for at sign-on: Tax Services and the six tabs.
const std::vector<std::string>& WebApiModules();

/// The session's list of errors and messages.
class ErrorEntries : public host::ErrorCollection {
 public:
  int Count() const override { return static_cast<int>(entries_.size()); }
  std::string Text(int index) const override {
    return entries_.at(static_cast<size_t>(index)).text;
  }
  int Priority(int index) const override {
    return entries_.at(static_cast<size_t>(index)).priority;
  }
  void Clear() override { entries_.clear(); }
  void Add(int priority, const std::string& text) { entries_.push_back({priority, text}); }
  const std::vector<ErrorListEntry>& Entries() const { return entries_; }

 private:
  std::vector<ErrorListEntry> entries_;
};

/// One company signed on to a Web API server: the requests it makes, what the server's metadata
/// says of each module, which kinds can be read, the tax tables and the session's error list.
class WebApiCompany {
 public:
  /// A company on `transport`, whose credentials are already set; `maps` must outlive it.
  WebApiCompany(std::unique_ptr<WebApiTransport> transport, std::string company, std::string user,
                const PropertyMaps& maps);

  /// Asks the server which modules the company runs and the user may use, reads their metadata
  /// and checks every kind against it. Throws WebApiFailure when the server refuses the
  /// credentials or the company. Returns the warnings the operator must see: modules without
  /// the user's authorization, kinds that cannot be converted.
  std::vector<std::string> Connect();

  const std::string& CompanyId() const { return client_.Company(); }
  const std::string& UserId() const { return user_; }
  ODataClient& Client() { return client_; }
  const PropertyMaps& Maps() const { return maps_; }
  TaxTables& Taxes() { return taxes_; }
  ErrorEntries& Errors() { return errors_; }

  /// The modules the company runs and the user may use through the Web API.
  const std::vector<std::string>& ActiveModules() const { return active_; }
  /// What the sign-on found of each module: "active", "not active", or why it cannot be used.
  const std::map<std::string, std::string>& ModuleStates() const { return states_; }
  /// What the server's metadata says of a module; nullptr when it is not active.
  const ServiceMetadata* MetadataOf(const std::string& module) const;
  /// Why a view cannot be read through this server, or nothing when it can.
  std::optional<std::string> ProblemOf(const EntityMap& map) const;
  /// Whether the server offers a property of a map's entity set (rows: of its `rows` collection).
  bool Offers(const EntityMap& map, const std::string& property, const RowsMap* rows) const;

 private:
  std::unique_ptr<WebApiTransport> transport_;
  ODataClient client_;
  std::string user_;
  const PropertyMaps& maps_;
  TaxTables taxes_;
  ErrorEntries errors_;
  std::vector<std::string> active_;
  std::map<std::string, std::string> states_;
  std::map<std::string, ServiceMetadata> metadata_;
  std::map<const EntityMap*, std::string> problems_;
};

/// What keeps a kind's view from being read or converted through a server with this metadata:
/// a missing entity set, collection or property, named; nothing when all are there.
std::optional<std::string> MissingFromMetadata(const EntityMap& map,
                                               const ServiceMetadata& metadata);

}  // namespace host::webapi
