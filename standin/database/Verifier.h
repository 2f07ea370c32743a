#pragma once

#include "standin/catalog/Value.h"
#include "standin/catalog/ViewCatalog.h"
#include "standin/database/CompanyDatabase.h"

#include <SQLiteCpp/Statement.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace erp {

/// The ERP's checks on a put with verification: codes upper-cased, item numbers unformatted,
/// tax groups, authorities, classes, tax-included flags and currencies looked up.
class Verifier {
 public:
  explicit Verifier(CompanyDatabase& database);

  /// The value the field takes after verification; throws ErpError with the ERP's message when
  /// the value is refused. `record` is the current record (other fields the check reads).
  Value verify(const FieldDef& field, const Value& value, const std::vector<Value>& record) const;

  /// The item number without its mask separators, upper-cased.
  static std::string unformatItemNumber(const std::string& text);

 private:
  /// The look-ups verification makes, each a statement prepared once.
  enum Lookup : size_t {
    kTaxGroup,
    kAuthority,
    kAuthorityTaxIncluded,
    kClass,
    kCurrency,
    kGroupAuthority1,  ///< followed by the other four authority slots of a tax group
    kLookups = kGroupAuthority1 + 5,
  };

  SQLite::Statement& statement(Lookup lookup) const;
  /// What `lookup` found for `values` earlier in the open transaction, if it still holds.
  const std::string* remembered(const std::string& key) const;
  void remember(std::string key, std::string found) const;
  static std::string memoKey(Lookup lookup, const std::vector<Value>& values);
  std::string lookupSql(Lookup lookup) const;
  bool exists(Lookup lookup, const std::vector<Value>& values) const;
  bool taxGroupExists(const std::string& group, int ttype) const;
  std::string groupAuthority(const std::string& group, int ttype, int slot) const;
  bool authorityExists(const std::string& authority) const;
  bool authorityAllowsTaxIncluded(const std::string& authority) const;
  bool classExists(const std::string& authority, int type, int axis, std::int64_t taxClass) const;
  bool currencyExists(const std::string& currency) const;
  void checkClass(const FieldDef& field, const std::string& authority, std::int64_t taxClass) const;

  CompanyDatabase& database_;
  const ViewCatalog& catalog_;
  mutable std::array<std::unique_ptr<SQLite::Statement>, kLookups> statements_;
  /// Look-ups made inside the open transaction: a batch of records checks the same tax group and
  /// classes for every record, and nothing can change them under the transaction's write lock.
  mutable std::unordered_map<std::string, std::string> memo_;
  mutable std::uint64_t memoEpoch_ = 0;
};

}  // namespace erp
