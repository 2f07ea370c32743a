#include "standin/catalog/ViewDef.h"

namespace erp {

const FieldDef* ViewDef::field(int number) const {
  if (number < 1 || static_cast<size_t>(number) > fields.size()) return nullptr;
  return &fields[static_cast<size_t>(number) - 1];
}

const FieldDef* ViewDef::field(const std::string& name) const {
  for (const FieldDef& f : fields) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

}  // namespace erp
