#include "host/webapi/TaxTables.h"

#include "host/webapi/FieldValues.h"
#include "platform/Text.h"

namespace host::webapi {
namespace {

std::string TypeName(int type) {
  return type == 2 ? "Purchases" : "Sales";
}

}  // namespace

TaxTables::TaxTables(ODataClient& client, const PropertyMaps& maps)
    : client_(client), maps_(maps) {}

std::vector<std::vector<Variant>> TaxTables::Records(const std::string& view,
                                                     const std::vector<std::string>& fields) {
  const EntityMap& map = *maps_.OfView(view);
  std::vector<const FieldInfo*> infos;
  FeedQuery query;
  for (const std::string& name : fields) {
    const FieldInfo& info = map.layout->Field(name)->info;
    infos.push_back(&info);
    query.select.push_back(map.Property(info.index));
  }
  std::vector<std::vector<Variant>> records;
  client_.Collect(map.module, map.entitySet, query, [&](const nlohmann::json& json) {
    std::vector<Variant> record;
    for (size_t i = 0; i < infos.size(); ++i) {
      const std::string& property = query.select[i];
      record.push_back(FromJson(*infos[i], property, json.value(property, nlohmann::json())));
    }
    records.push_back(std::move(record));
    return true;
  });
  return records;
}

void TaxTables::Load() {
  if (loaded_) return;
  for (auto& group : Records("TX0003", {"GROUPID", "TTYPE", "AUTHORITY1", "AUTHORITY2",
                                        "AUTHORITY3", "AUTHORITY4", "AUTHORITY5"})) {
    std::vector<std::string> authorities;
    for (size_t i = 2; i < group.size(); ++i) authorities.push_back(VariantText(group[i]));
    groups_[{VariantText(group[0]), static_cast<int>(VariantInteger(group[1]))}] = authorities;
  }
  for (auto& authority : Records("TX0002", {"AUTHORITY", "INCLUDABLE"})) {
    authorities_[VariantText(authority[0])] = VariantInteger(authority[1]) != 0;
  }
  for (auto& taxClass : Records("TX0001", {"AUTHORITY", "CLASSTYPE", "CLASSAXIS", "CLASS"})) {
    classes_.emplace(VariantText(taxClass[0]), static_cast<int>(VariantInteger(taxClass[1])),
                     static_cast<int>(VariantInteger(taxClass[2])), VariantInteger(taxClass[3]));
  }
  loaded_ = true;
}

bool TaxTables::GroupExists(const std::string& group, int type) {
  Load();
  return groups_.contains({group, type});
}

std::string TaxTables::GroupAuthority(const std::string& group, int type, int slot) {
  Load();
  const auto found = groups_.find({group, type});
  if (found == groups_.end() || slot < 1 || slot > 5) return {};
  return found->second[static_cast<size_t>(slot - 1)];
}

bool TaxTables::AuthorityExists(const std::string& authority) {
  Load();
  return authorities_.contains(authority);
}

bool TaxTables::AllowsTaxIncluded(const std::string& authority) {
  Load();
  const auto found = authorities_.find(authority);
  return found != authorities_.end() && found->second;
}

bool TaxTables::ClassExists(const std::string& authority, int type, int axis,
                            std::int64_t taxClass) {
  Load();
  return classes_.contains({authority, type, axis, taxClass});
}

std::string UnformattedItemNumber(const std::string& text) {
  std::string result;
  for (char c : platform::UpperCase(text)) {
    if (c != '-' && c != '/' && c != '.' && c != '(' && c != ')') result += c;
  }
  return platform::TrimRight(result);
}

namespace {

void CheckClass(const FieldLayout& field, const std::string& authority, std::int64_t taxClass,
                TaxTables& tables) {
  if (authority.empty()) {
    if (taxClass == 0) return;
    throw VerifyRefusal("Tax Class " + std::to_string(taxClass) +
                        " cannot be set: there is no tax authority for it.");
  }
  if (!tables.ClassExists(authority, field.type, field.axis, taxClass)) {
    throw VerifyRefusal("Tax Class " + std::to_string(taxClass) +
                        " does not exist for tax authority " + authority + " (" +
                        TypeName(field.type) + ").");
  }
}

}  // namespace

Variant Verified(const FieldLayout& field, const Variant& value, const std::vector<Variant>& record,
                 TaxTables& tables) {
  const FieldInfo& info = field.info;
  const std::optional<Variant> coerced = Coerced(info, value);
  if (!coerced) {
    throw VerifyRefusal("Invalid value for " + info.description + ": " + VariantText(value) + ".");
  }
  Variant result = *coerced;
  const std::string text = VariantText(result);
  if (info.type == FieldType::Text && static_cast<int>(text.size()) > info.size) {
    throw VerifyRefusal(info.description + " cannot be longer than " + std::to_string(info.size) +
                        " characters.");
  }
  auto refText = [&] { return VariantText(record.at(static_cast<size_t>(field.ref - 1))); };
  switch (field.check) {
    case FieldCheck::None:
      break;
    case FieldCheck::UpperCode:
    case FieldCheck::Currency:
      result = platform::UpperCase(text);
      break;
    case FieldCheck::ItemNumber:
      result = UnformattedItemNumber(text);
      break;
    case FieldCheck::TaxGroup:
      if (!tables.GroupExists(text, field.type)) {
        throw VerifyRefusal(info.description + " " + text +
                            " does not exist for transaction type " + TypeName(field.type) + ".");
      }
      break;
    case FieldCheck::TaxAuthority:
      result = platform::UpperCase(text);
      if (!tables.AuthorityExists(VariantText(result))) {
        throw VerifyRefusal(info.description + " " + VariantText(result) + " does not exist.");
      }
      break;
    case FieldCheck::TaxClassOfGroup:
      CheckClass(field, tables.GroupAuthority(refText(), field.type, field.slot),
                 VariantInteger(result), tables);
      break;
    case FieldCheck::TaxClassOfAuthority:
      CheckClass(field, refText(), VariantInteger(result), tables);
      break;
    case FieldCheck::TaxIncluded:
      if (VariantInteger(result) != 0 && !tables.AllowsTaxIncluded(refText())) {
        throw VerifyRefusal("Tax authority " + refText() +
                            " does not allow tax included in the price.");
      }
      break;
  }
  return result;
}

}  // namespace host::webapi
