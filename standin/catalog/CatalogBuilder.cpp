#include "standin/catalog/CatalogBuilder.h"

#include <stdexcept>
#include <utility>

namespace erp {

namespace {

// Byte sizes of the ERP's fixed-size types; text sizes are given per field.
int storageSize(FieldType type) {
  switch (type) {
    case FieldType::Int16:
    case FieldType::Boolean:
      return 2;
    case FieldType::Int32:
    case FieldType::Date:
      return 4;
    case FieldType::Decimal:
      return 10;
    case FieldType::Text:
      break;
  }
  return 0;
}

}  // namespace

ViewBuilder::ViewBuilder(std::string id, std::string description) {
  view_.id = std::move(id);
  view_.description = std::move(description);
}

ViewBuilder& ViewBuilder::at(int number) {
  int next = static_cast<int>(view_.fields.size()) + 1;
  if (next != number) {
    throw std::logic_error("View " + view_.id + ": next field is " + std::to_string(next) +
                           ", expected " + std::to_string(number));
  }
  return *this;
}

FieldDef& ViewBuilder::add(const std::string& name, const std::string& description, FieldType type,
                           int size) {
  FieldDef field;
  field.number = static_cast<int>(view_.fields.size()) + 1;
  field.name = name;
  field.description = description;
  field.type = type;
  field.size = type == FieldType::Text ? size : storageSize(type);
  if (type == FieldType::Boolean) field.presentation = {{0, "No"}, {1, "Yes"}};
  view_.fields.push_back(std::move(field));
  return view_.fields.back();
}

const FieldDef& ViewBuilder::named(const std::string& name) const {
  const FieldDef* field = view_.field(name);
  if (field == nullptr) {
    throw std::logic_error("View " + view_.id + " has no field " + name);
  }
  return *field;
}

ViewBuilder& ViewBuilder::text(const std::string& name, const std::string& description, int size,
                               Check check) {
  add(name, description, FieldType::Text, size).check = check;
  return *this;
}

ViewBuilder& ViewBuilder::int16(const std::string& name, const std::string& description) {
  add(name, description, FieldType::Int16, 0);
  return *this;
}

ViewBuilder& ViewBuilder::int32(const std::string& name, const std::string& description) {
  add(name, description, FieldType::Int32, 0);
  return *this;
}

ViewBuilder& ViewBuilder::decimal(const std::string& name, const std::string& description) {
  add(name, description, FieldType::Decimal, 0);
  return *this;
}

ViewBuilder& ViewBuilder::date(const std::string& name, const std::string& description) {
  add(name, description, FieldType::Date, 0);
  return *this;
}

ViewBuilder& ViewBuilder::status(const std::string& name, const std::string& description) {
  add(name, description, FieldType::Int16, 0).presentation = {{0, "Inactive"}, {1, "Active"}};
  return *this;
}

ViewBuilder& ViewBuilder::boolean(const std::string& name, const std::string& description) {
  add(name, description, FieldType::Boolean, 0);
  return *this;
}

ViewBuilder& ViewBuilder::texts(int size, std::initializer_list<Named> fields) {
  for (const Named& f : fields) add(f.name, f.description, FieldType::Text, size);
  return *this;
}

ViewBuilder& ViewBuilder::many(FieldType type, std::initializer_list<Named> fields) {
  for (const Named& f : fields) add(f.name, f.description, type, 0);
  return *this;
}

ViewBuilder& ViewBuilder::series(const std::string& name, const std::string& description, int count,
                                 FieldType type, int textSize) {
  for (int n = 1; n <= count; ++n) {
    add(name + std::to_string(n), description + " " + std::to_string(n), type, textSize);
  }
  return *this;
}

ViewBuilder& ViewBuilder::code(const std::string& name, const std::string& description, int size) {
  return text(name, description, size, Check::UpperCode);
}

ViewBuilder& ViewBuilder::itemNumber(const std::string& name, const std::string& description) {
  return text(name, description, 24, Check::ItemNumber);
}

ViewBuilder& ViewBuilder::currency(const std::string& name, const std::string& description) {
  return text(name, description, 3, Check::Currency);
}

ViewBuilder& ViewBuilder::taxGroup(const std::string& name, int ttype) {
  FieldDef& field = add(name, "Tax Group", FieldType::Text, 12);
  field.check = Check::TaxGroup;
  field.ttype = ttype;
  return *this;
}

ViewBuilder& ViewBuilder::taxClassesOfGroup(const std::string& prefix,
                                            const std::string& groupField) {
  const FieldDef group = named(groupField);
  if (group.check != Check::TaxGroup) {
    throw std::logic_error("View " + view_.id + ": " + groupField + " is not a tax group");
  }
  for (int slot = 1; slot <= 5; ++slot) {
    FieldDef& field = add(prefix + std::to_string(slot), "Tax Class " + std::to_string(slot),
                          FieldType::Int16, 0);
    field.check = Check::TaxClassOfGroup;
    field.ref = group.number;
    field.ttype = group.ttype;
    field.axis = 1;
    field.slot = slot;
  }
  return *this;
}

ViewBuilder& ViewBuilder::taxAuthority(const std::string& name) {
  return text(name, "Tax Authority", 12, Check::TaxAuthority);
}

ViewBuilder& ViewBuilder::taxClassOf(const std::string& name, const std::string& description,
                                     const std::string& authorityField, int ttype, int axis) {
  int ref = named(authorityField).number;
  FieldDef& field = add(name, description, FieldType::Int16, 0);
  field.check = Check::TaxClassOfAuthority;
  field.ref = ref;
  field.ttype = ttype;
  field.axis = axis;
  return *this;
}

ViewBuilder& ViewBuilder::taxIncluded(const std::string& name, const std::string& authorityField) {
  int ref = named(authorityField).number;
  FieldDef& field = add(name, "Tax Included", FieldType::Boolean, 0);
  field.check = Check::TaxIncluded;
  field.ref = ref;
  return *this;
}

ViewBuilder& ViewBuilder::optionalFieldColumns() {
  code("OPTFIELD", "Optional Field", 12);
  text("VALUE", "Value", 60);
  many(FieldType::Int16, {{"TYPE", "Type"}, {"LENGTH", "Length"}, {"DECIMALS", "Decimals"}});
  many(FieldType::Boolean,
       {{"ALLOWNULL", "Allow Blank"}, {"VALIDATE", "Validate"}, {"SWSET", "Value Set"}});
  return text("VDESC", "Value Description", 60);
}

ViewBuilder& ViewBuilder::key(const std::string& name, std::initializer_list<const char*> fields) {
  KeyDef key{name, {}};
  for (const char* field : fields) key.fields.push_back(named(field).number);
  view_.keys.push_back(std::move(key));
  return *this;
}

ViewBuilder& ViewBuilder::detailOf(const std::string& headerView) {
  view_.composition = Composition{headerView};
  return *this;
}

ViewBuilder& ViewBuilder::singleRecord() {
  view_.singleRecord = true;
  return *this;
}

}  // namespace erp
