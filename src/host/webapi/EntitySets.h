#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host::webapi {

/// A detail view served inside its header's entity as a collection-typed property.
struct DetailSet {
  std::string view;        ///< "AR0011"
  std::string collection;  ///< "ItemTaxClasses"
};

/// Where the Web API serves a view the program reads or converts.
struct EntitySetEntry {
  std::string view;       ///< "AR0024"
  std::string module;     ///< "AR"; also the Web API authorization the set needs
  std::string entitySet;  ///< "ARCustomers"
  /// The detail views the program changes through this entity, as collections of rows.
  std::vector<DetailSet> details{};
  /// Fields beyond the keys and the verified tax fields that the program reads from every record
  /// it converts, such as the registration numbers it logs.
  std::vector<std::string> alsoRead{};
};

/// Every view with an entity set: the nineteen kinds of record and the tax views.
const std::vector<EntitySetEntry>& EntitySets();

/// The entry of a header view, or nullptr.
const EntitySetEntry* EntitySetOfView(std::string_view view);

/// The entry whose detail views include `view`, or nullptr; `detail` is set to that detail.
const EntitySetEntry* EntitySetOfDetail(std::string_view view, const DetailSet** detail);

/// A property name the ERP publishes for a field, where it differs from the naming rule's.
struct PublishedName {
  std::string view;
  std::string field;
  std::string property;
};

/// The property names published in the ERP's metadata and seen in its clients.
const std::vector<PublishedName>& PublishedNames();

/// The property name the ERP's naming rule builds from a field's description: its letters and
/// digits, cut to 28 characters.
std::string RuleName(std::string_view description);

}  // namespace host::webapi
