#pragma once

#include <map>
#include <string>
#include <vector>

namespace host::webapi {

/// The properties of an entity type or of the complex type of a detail row.
struct TypeShape {
  std::vector<std::string> keys;                  ///< of an entity type, in key order
  std::map<std::string, std::string> properties;  ///< name -> EDM type, "Collection(...)" for rows
};

/// What a module's `$metadata` document says: its entity sets and the shapes of their types.
struct ServiceMetadata {
  std::map<std::string, std::string> entitySets;  ///< name -> qualified entity type
  std::map<std::string, TypeShape> types;         ///< qualified name -> shape

  /// The entity type of a set, or nullptr when the module has no such set.
  const TypeShape* EntityType(const std::string& entitySet) const;
  /// The row type of a collection property of a set's entity type, or nullptr.
  const TypeShape* RowType(const std::string& entitySet, const std::string& collection) const;

 private:
  const TypeShape* Named(const std::string& name) const;
};

/// Reads an EDMX document; throws std::invalid_argument when it is not well-formed XML.
ServiceMetadata ParseMetadata(const std::string& document);

}  // namespace host::webapi
