#pragma once

#include "host/webapi/EntitySets.h"
#include "host/webapi/ViewLayouts.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace host::webapi {

/// An administrator's corrections for one server: property names that differ from the
/// program's, and the company options the Web API does not offer.
struct MapOverrides {
  /// View ID -> field name (or "EntitySet", "Collection") -> name on the server.
  std::map<std::string, std::map<std::string, std::string>> views;
  /// Whether recurring charges have a customer range (the A/R option).
  bool recurringChargesByCustomer = true;
  /// Whether the company is multicurrency, which shows the currency ranges (the I/C option).
  bool multicurrency = true;
};

/// Reads a map file:
///   [AR0024]                     a view by its ID
///   EntitySet=ARCustomers        the entity set of a header view
///   IDGRP=CustomerGroup          a field's property
///   [AR0011]
///   Collection=ItemTaxClasses    the collection of a detail view's rows
///   [Options]
///   Multicurrency=No             also RecurringChargesByCustomer
/// Throws std::invalid_argument listing every problem as "file:line: problem".
MapOverrides ReadMapFile(const std::string& path);

/// The rows of a detail view inside its header's entity.
struct RowsMap {
  const ViewLayout* layout = nullptr;
  std::string collection;
  std::vector<std::string> properties;  ///< by field number - 1
};

/// One kind's property map: the entity set of its header view, the property of every field, and
/// the collections of its detail rows.
struct EntityMap {
  std::string module;
  std::string entitySet;
  const ViewLayout* layout = nullptr;
  std::vector<std::string> properties;  ///< by field number - 1
  std::vector<RowsMap> details;
  std::vector<int> alsoRead;  ///< fields read from every record besides the keys and taxes

  /// The property of a field (from 1).
  const std::string& Property(int field) const {
    return properties.at(static_cast<size_t>(field - 1));
  }
};

/// The property maps of every view the program reads through the Web API: published names where
/// the ERP publishes them, the naming rule for the rest, the administrator's names over both.
class PropertyMaps {
 public:
  explicit PropertyMaps(const MapOverrides& overrides = {});

  /// The map whose header view is `view`, or nullptr.
  const EntityMap* OfView(std::string_view view) const;
  /// The map whose detail rows come from `view`, or nullptr; `rows` is set to their index.
  const EntityMap* OfDetail(std::string_view view, size_t& rows) const;
  const std::vector<EntityMap>& Maps() const { return maps_; }
  const MapOverrides& Overrides() const { return overrides_; }

 private:
  MapOverrides overrides_;
  std::vector<EntityMap> maps_;
};

}  // namespace host::webapi
