#pragma once

#include "host/Variant.h"
#include "host/webapi/PropertyMaps.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace host::webapi {

/// A record's fields in field order.
using FieldValues = std::vector<Variant>;

/// A record of a header view with the rows of each of its detail collections.
struct RecordValues {
  FieldValues fields;
  std::vector<std::vector<FieldValues>> rows;  ///< per collection of the map, in the server's order
};

/// A blank record of a map's views.
RecordValues BlankRecord(const EntityMap& map);

/// A record as the server answered it; properties the answer leaves out stay blank.
RecordValues RecordOf(const EntityMap& map, const nlohmann::json& entity);

/// The values of key 0 of a view, from a record's fields.
FieldValues KeyOf(const ViewLayout& layout, const FieldValues& fields);

/// The resource of one record: "ARCustomers('1200')", or with named values for a key of several
/// fields: "ARShipToLocations(CustomerNumber='1200',ShipToLocationKey='MAIN')".
std::string RecordResource(const EntityMap& map, const FieldValues& key);

/// A `$filter` condition that selects one record by its key.
std::string KeyCondition(const EntityMap& map, const FieldValues& key);

/// The key as the ERP's messages show it: the values joined by "-".
std::string KeyText(const FieldValues& key);

/// Whether two values read alike: the same text once trailing blanks are dropped.
bool SameValue(const Variant& a, const Variant& b);

/// Compares keys (or any values) in the ERP's order: numbers by value, texts by their bytes.
int CompareValues(const FieldValues& a, const FieldValues& b);

}  // namespace host::webapi
