#include "host/webapi/Metadata.h"

#include <expat.h>

#include <cstring>
#include <stdexcept>

namespace host::webapi {
namespace {

std::string LocalName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon ? colon + 1 : name;
}

std::string Attribute(const char** attributes, const char* wanted) {
  for (size_t i = 0; attributes[i] != nullptr; i += 2) {
    if (LocalName(attributes[i]) == wanted) return attributes[i + 1];
  }
  return {};
}

/// Collects schemas, types, properties, keys and entity sets from the elements as they open.
class MetadataReader {
 public:
  static void XMLCALL Open(void* data, const char* element, const char** attributes) {
    static_cast<MetadataReader*>(data)->Opened(LocalName(element), attributes);
  }
  static void XMLCALL Close(void* data, const char* element) {
    static_cast<MetadataReader*>(data)->Closed(LocalName(element));
  }

  ServiceMetadata result;

 private:
  void Opened(const std::string& element, const char** attributes) {
    if (element == "Schema") {
      namespace_ = Attribute(attributes, "Namespace");
    } else if (element == "EntityType" || element == "ComplexType") {
      type_ = &result.types[namespace_ + "." + Attribute(attributes, "Name")];
    } else if (element == "Property" && type_) {
      type_->properties[Attribute(attributes, "Name")] = Attribute(attributes, "Type");
    } else if (element == "PropertyRef" && type_) {
      type_->keys.push_back(Attribute(attributes, "Name"));
    } else if (element == "EntitySet") {
      result.entitySets[Attribute(attributes, "Name")] = Attribute(attributes, "EntityType");
    }
  }

  void Closed(const std::string& element) {
    if (element == "EntityType" || element == "ComplexType") type_ = nullptr;
  }

  std::string namespace_;
  TypeShape* type_ = nullptr;
};

}  // namespace

const TypeShape* ServiceMetadata::Named(const std::string& name) const {
  if (auto found = types.find(name); found != types.end()) return &found->second;
  // A name written with an alias or without its namespace still finds a type of its own name.
  const std::string local = name.substr(name.rfind('.') + 1);
  const TypeShape* match = nullptr;
  for (const auto& [qualified, shape] : types) {
    if (qualified.substr(qualified.rfind('.') + 1) != local) continue;
    if (match) return nullptr;
    match = &shape;
  }
  return match;
}

const TypeShape* ServiceMetadata::EntityType(const std::string& entitySet) const {
  const auto set = entitySets.find(entitySet);
  return set == entitySets.end() ? nullptr : Named(set->second);
}

const TypeShape* ServiceMetadata::RowType(const std::string& entitySet,
                                          const std::string& collection) const {
  const TypeShape* entity = EntityType(entitySet);
  if (!entity) return nullptr;
  const auto property = entity->properties.find(collection);
  if (property == entity->properties.end()) return nullptr;
  const std::string& type = property->second;
  if (!type.starts_with("Collection(") || !type.ends_with(")")) return nullptr;
  return Named(type.substr(11, type.size() - 12));
}

ServiceMetadata ParseMetadata(const std::string& document) {
  MetadataReader reader;
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) throw std::runtime_error("No memory to read the metadata.");
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(parser, &MetadataReader::Open, &MetadataReader::Close);
  const bool parsed = XML_Parse(parser, document.data(), static_cast<int>(document.size()),
                                XML_TRUE) != XML_STATUS_ERROR;
  std::string problem;
  if (!parsed) {
    problem = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
              std::to_string(XML_GetCurrentLineNumber(parser));
  }
  XML_ParserFree(parser);
  if (!parsed) throw std::invalid_argument("The $metadata document is not XML: " + problem + ".");
  return std::move(reader.result);
}

}  // namespace host::webapi
