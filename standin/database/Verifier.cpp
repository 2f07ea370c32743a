#include "standin/database/Verifier.h"

#include "platform/Text.h"
#include "standin/database/ErpError.h"
#include "standin/database/SqlValues.h"
#include "standin/database/ValueText.h"
#include "standin/filter/Filter.h"

#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>

namespace erp {
namespace {

std::string typeName(int ttype) {
  return ttype == 2 ? "Purchases" : "Sales";
}

}  // namespace

Verifier::Verifier(CompanyDatabase& database) : database_(database), catalog_(database.catalog()) {
  for (const char* view : {"TX0001", "TX0002", "TX0003", "CS0003"}) {
    database_.watchTable(catalog_.get(view).id);
  }
}

std::string Verifier::memoKey(Lookup lookup, const std::vector<Value>& values) {
  std::string key(1, static_cast<char>('A' + lookup));
  for (const Value& value : values) {
    key += '\x1f';
    key += valueText(value);
  }
  return key;
}

const std::string* Verifier::remembered(const std::string& key) const {
  if (database_.transactionLevel() == 0 ||
      sqlite3_get_autocommit(database_.sql().getHandle()) != 0) {
    return nullptr;
  }
  if (memoEpoch_ != database_.readEpoch()) {
    memo_.clear();
    memoEpoch_ = database_.readEpoch();
    return nullptr;
  }
  auto found = memo_.find(key);
  return found == memo_.end() ? nullptr : &found->second;
}

void Verifier::remember(std::string key, std::string found) const {
  if (database_.transactionLevel() == 0 || memoEpoch_ != database_.readEpoch()) return;
  memo_.insert_or_assign(std::move(key), std::move(found));
}

std::string Verifier::unformatItemNumber(const std::string& text) {
  std::string result;
  for (char c : platform::UpperCase(text)) {
    if (c != '-' && c != '/' && c != '.' && c != '(' && c != ')') result += c;
  }
  return platform::TrimRight(result);
}

std::string Verifier::lookupSql(Lookup lookup) const {
  auto select = [this](const char* what, const std::string& viewId, std::vector<int> fields) {
    const ViewDef& view = catalog_.get(viewId);
    std::string sql = std::string("SELECT ") + what + " FROM \"" + view.id + "\" WHERE ";
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) sql += " AND ";
      sql += sqlColumn(*view.field(fields[i])) + " = ?";
    }
    return sql + " LIMIT 1";
  };
  switch (lookup) {
    case kTaxGroup:
      return select("1", "TX0003", {1, 2});
    case kAuthority:
      return select("1", "TX0002", {1});
    case kAuthorityTaxIncluded:
      return select("1", "TX0002", {1, 7});
    case kClass:
      return select("1", "TX0001", {1, 2, 3, 4});
    case kCurrency:
      return select("1", "CS0003", {1});
    default:
      break;
  }
  const std::string slot = std::to_string(lookup - kGroupAuthority1 + 1);
  const FieldDef* authority = catalog_.get("TX0003").field("AUTHORITY" + slot);
  return select(sqlColumn(*authority).c_str(), "TX0003", {1, 2});
}

SQLite::Statement& Verifier::statement(Lookup lookup) const {
  std::unique_ptr<SQLite::Statement>& cached = statements_[lookup];
  if (!cached) {
    cached = std::make_unique<SQLite::Statement>(database_.sql(), lookupSql(lookup));
  } else {
    cached->reset();
    cached->clearBindings();
  }
  return *cached;
}

bool Verifier::exists(Lookup lookup, const std::vector<Value>& values) const {
  std::string key = memoKey(lookup, values);
  if (const std::string* known = remembered(key)) return !known->empty();
  SQLite::Statement& query = statement(lookup);
  for (size_t i = 0; i < values.size(); ++i) bindValue(query, static_cast<int>(i + 1), values[i]);
  const bool found = query.executeStep();
  query.reset();  // an open statement would pin this connection's read snapshot
  remember(std::move(key), found ? "1" : "");
  return found;
}

bool Verifier::taxGroupExists(const std::string& group, int ttype) const {
  return exists(kTaxGroup, {group, std::int64_t{ttype}});
}

std::string Verifier::groupAuthority(const std::string& group, int ttype, int slot) const {
  if (slot < 1 || slot > 5) return "";
  const auto lookup = static_cast<Lookup>(kGroupAuthority1 + slot - 1);
  std::string key = memoKey(lookup, {group, std::int64_t{ttype}});
  if (const std::string* known = remembered(key)) return *known;
  SQLite::Statement& query = statement(lookup);
  query.bind(1, group);
  query.bind(2, ttype);
  std::string authorityCode = query.executeStep() ? query.getColumn(0).getString() : "";
  query.reset();
  remember(std::move(key), authorityCode);
  return authorityCode;
}

bool Verifier::authorityExists(const std::string& authority) const {
  return exists(kAuthority, {authority});
}

bool Verifier::authorityAllowsTaxIncluded(const std::string& authority) const {
  return exists(kAuthorityTaxIncluded, {authority, std::int64_t{1}});
}

bool Verifier::classExists(const std::string& authority, int type, int axis,
                           std::int64_t taxClass) const {
  return exists(kClass, {authority, std::int64_t{type}, std::int64_t{axis}, taxClass});
}

bool Verifier::currencyExists(const std::string& currency) const {
  return exists(kCurrency, {currency});
}

void Verifier::checkClass(const FieldDef& field, const std::string& authority,
                          std::int64_t taxClass) const {
  if (authority.empty()) {
    if (taxClass == 0) return;
    throw ErpError("Tax Class " + std::to_string(taxClass) +
                   " cannot be set: there is no tax authority for it.");
  }
  if (!classExists(authority, field.ttype, field.axis, taxClass)) {
    throw ErpError("Tax Class " + std::to_string(taxClass) + " does not exist for tax authority " +
                   authority + " (" + typeName(field.ttype) + ").");
  }
}

Value Verifier::verify(const FieldDef& field, const Value& value,
                       const std::vector<Value>& record) const {
  auto coerced = coerceToField(field, value);
  if (!coerced) {
    throw ErpError("Invalid value for " + field.description + ": " + valueText(value) + ".");
  }
  Value result = *coerced;
  if (field.type == FieldType::Text &&
      static_cast<int>(std::get<std::string>(result).size()) > field.size) {
    throw ErpError(field.description + " cannot be longer than " + std::to_string(field.size) +
                   " characters.");
  }
  auto text = [&result] { return std::get<std::string>(result); };
  auto refText = [&](int ref) { return valueText(record.at(static_cast<size_t>(ref - 1))); };
  switch (field.check) {
    case Check::None:
      break;
    case Check::UpperCode:
      result = platform::UpperCase(text());
      break;
    case Check::ItemNumber:
      result = unformatItemNumber(text());
      break;
    case Check::TaxGroup:
      if (!taxGroupExists(text(), field.ttype)) {
        throw ErpError(field.description + " " + text() + " does not exist for transaction type " +
                       typeName(field.ttype) + ".");
      }
      break;
    case Check::TaxAuthority:
      result = platform::UpperCase(text());
      if (!authorityExists(std::get<std::string>(result))) {
        throw ErpError(field.description + " " + std::get<std::string>(result) +
                       " does not exist.");
      }
      break;
    case Check::TaxClassOfGroup:
      checkClass(field, groupAuthority(refText(field.ref), field.ttype, field.slot),
                 std::get<std::int64_t>(result));
      break;
    case Check::TaxClassOfAuthority:
      checkClass(field, refText(field.ref), std::get<std::int64_t>(result));
      break;
    case Check::TaxIncluded:
      if (std::get<std::int64_t>(result) != 0 && !authorityAllowsTaxIncluded(refText(field.ref))) {
        throw ErpError("Tax authority " + refText(field.ref) +
                       " does not allow tax included in the price.");
      }
      break;
    case Check::Currency:
      result = platform::UpperCase(text());
      if (!currencyExists(std::get<std::string>(result))) {
        throw ErpError(field.description + " " + std::get<std::string>(result) +
                       " does not exist.");
      }
      break;
  }
  return result;
}

}  // namespace erp
