#pragma once

#include "standin/catalog/ViewCatalog.h"
#include "standin/catalog/ViewDef.h"
#include "standin/webapi/EntitySetTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace erp::webapi {

/// A property of an entity or of a detail row: one field of the view under its Web API name.
struct Property {
  std::string name;
  const FieldDef* field = nullptr;
  bool key = false;  ///< part of the view's primary key
};

/// The properties of one view as the Web API shows them: every field in field order, less the
/// tax fields of a hidden entity set.
struct PropertySet {
  const ViewDef* view = nullptr;
  std::vector<Property> properties;
  std::vector<size_t> keyIndexes;  ///< of the key properties, in key order

  /// The key properties in key order.
  std::vector<const Property*> keys() const;

  /// The property with this name (case-sensitive), or nullptr.
  const Property* find(std::string_view name) const;
  /// The property of this field, or nullptr when the field is not shown.
  const Property* ofField(int number) const;
};

/// A detail view as a collection-typed property of its header's entity.
struct DetailCollection {
  std::string name;         ///< "ItemTaxClasses"
  std::string complexType;  ///< "ItemTaxClasse": the ERP names a row by cutting the final "s"
  PropertySet rows;
};

/// An entity set with its entity type, as served.
struct EntitySet {
  std::string name;
  std::string entityType;
  std::string module;
  std::string kind;
  bool readOnly = false;
  bool hidden = false;  ///< served without its tax properties
  PropertySet properties;
  std::vector<DetailCollection> details;

  /// The detail collection with this name, or nullptr.
  const DetailCollection* detail(std::string_view name) const;
};

/// Every entity set of the server, with the names the ERP gives their properties: the published
/// ones where they exist, else the field's description without blanks or punctuation, cut to 28
/// characters.
class EntityModel {
 public:
  /// The model over `catalog`; the sets named in `hidden` (by entity set or by kind, such as
  /// "customers") are served without their tax properties. Throws std::invalid_argument naming
  /// a hidden name that is neither.
  explicit EntityModel(const std::vector<std::string>& hidden = {},
                       const ViewCatalog& catalog = ViewCatalog::standard());

  /// The entity set with this name in `module`, or nullptr.
  const EntitySet* find(std::string_view module, std::string_view name) const;
  /// The entity sets of a module, in table order.
  std::vector<const EntitySet*> ofModule(std::string_view module) const;
  const std::vector<EntitySet>& sets() const { return sets_; }

 private:
  std::vector<EntitySet> sets_;
};

/// The property name the ERP's rule builds from a field description.
std::string ruleName(const std::string& description);

/// Whether a field holds tax data that a server without the kind's tax exposure leaves out.
bool isTaxField(const FieldDef& field);

/// The schema namespace of a module's models, "Sage.CA.SBS.ERP.Sage300.AR.WebApi.Models".
std::string modelNamespace(const std::string& module);

}  // namespace erp::webapi
