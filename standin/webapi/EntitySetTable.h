#pragma once

#include <string>
#include <utility>
#include <vector>

namespace erp::webapi {

/// A detail view served inside its header's entity as a collection-typed property.
struct DetailDef {
  std::string property;  ///< the collection's name, "ItemTaxClasses"
  std::string viewId;    ///< "AR0011"
  bool taxRows = false;  ///< the per-authority tax rows of the kind: hidden whole with its taxes
};

/// An entity set of the Web API over one view of the stand-in.
struct EntitySetDef {
  std::string name;        ///< "ARCustomers"
  std::string entityType;  ///< "Customer"
  std::string module;      ///< "AR"; also the Web API authorization the set needs
  std::string viewId;      ///< "AR0024"
  std::string kind;        ///< the kind of record the program converts, "customers"; "" for none
  std::vector<DetailDef> details;
  bool readOnly = false;
};

/// Property names that the ERP publishes for fields of a view, where they differ from the names
/// the naming rule would give: (view ID, field name, property name).
struct PublishedName {
  std::string viewId;
  std::string field;
  std::string property;
};

/// Every entity set the server offers: one per kind of record the program converts, and the
/// tax views it reads (read-only, under TX).
const std::vector<EntitySetDef>& entitySetTable();

/// The published property names that replace the rule's.
const std::vector<PublishedName>& publishedNames();

}  // namespace erp::webapi
