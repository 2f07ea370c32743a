#include "standin/webapi/Metadata.h"

#include "standin/webapi/JsonValues.h"

namespace erp::webapi {
namespace {

void writeProperty(std::string& out, const Property& property) {
  const FieldDef& field = *property.field;
  out += "        <Property Name=\"" + property.name + "\" Type=\"" + edmType(field) + "\"";
  if (!nullable(field, property.key)) out += " Nullable=\"false\"";
  if (field.type == FieldType::Text) out += " MaxLength=\"" + std::to_string(field.size) + "\"";
  out += " />\n";
}

void writeEntityType(std::string& out, const EntitySet& set, const std::string& ns) {
  out += "      <EntityType Name=\"" + set.entityType + "\">\n        <Key>\n";
  for (const Property* key : set.properties.keys()) {
    out += "          <PropertyRef Name=\"" + key->name + "\" />\n";
  }
  out += "        </Key>\n";
  for (const Property& property : set.properties.properties) writeProperty(out, property);
  for (const DetailCollection& detail : set.details) {
    out += "        <Property Name=\"" + detail.name + "\" Type=\"Collection(" + ns + "." +
           detail.complexType + ")\" />\n";
  }
  out += "      </EntityType>\n";
  for (const DetailCollection& detail : set.details) {
    out += "      <ComplexType Name=\"" + detail.complexType + "\">\n";
    for (const Property& property : detail.rows.properties) writeProperty(out, property);
    out += "      </ComplexType>\n";
  }
}

}  // namespace

std::string metadataDocument(const EntityModel& model, const std::string& module) {
  const std::string ns = modelNamespace(module);
  std::string out =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<edmx:Edmx Version=\"4.0\" xmlns:edmx=\"http://docs.oasis-open.org/odata/ns/edmx\">\n"
      "  <edmx:DataServices>\n"
      "    <Schema Namespace=\"" +
      ns + "\" xmlns=\"http://docs.oasis-open.org/odata/ns/edm\">\n";
  const std::vector<const EntitySet*> sets = model.ofModule(module);
  for (const EntitySet* set : sets) writeEntityType(out, *set, ns);
  out += "      <EntityContainer Name=\"Container\">\n";
  for (const EntitySet* set : sets) {
    out += "        <EntitySet Name=\"" + set->name + "\" EntityType=\"" + ns + "." +
           set->entityType + "\" />\n";
  }
  out += "      </EntityContainer>\n    </Schema>\n  </edmx:DataServices>\n</edmx:Edmx>\n";
  return out;
}

}  // namespace erp::webapi
