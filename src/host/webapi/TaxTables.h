#pragma once

#include "host/Variant.h"
#include "host/webapi/ODataClient.h"
#include "host/webapi/PropertyMaps.h"

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace host::webapi {

/// The company's tax groups, authorities and classes, read from the server's tax entity sets on
/// first use and kept for the session: a put with verification checks values against them,
/// since the Web API has no call that only verifies.
class TaxTables {
 public:
  TaxTables(ODataClient& client, const PropertyMaps& maps);

  bool GroupExists(const std::string& group, int type);
  /// The authority in `slot` (1 to 5) of a tax group; empty when there is none.
  std::string GroupAuthority(const std::string& group, int type, int slot);
  bool AuthorityExists(const std::string& authority);
  bool AllowsTaxIncluded(const std::string& authority);
  bool ClassExists(const std::string& authority, int type, int axis, std::int64_t taxClass);

 private:
  void Load();
  /// Every record of a tax view, with the values of the fields named.
  std::vector<std::vector<Variant>> Records(const std::string& view,
                                            const std::vector<std::string>& fields);

  ODataClient& client_;
  const PropertyMaps& maps_;
  bool loaded_ = false;
  std::map<std::pair<std::string, int>, std::vector<std::string>> groups_;
  std::map<std::string, bool> authorities_;  ///< authority -> allows tax in the price
  std::set<std::tuple<std::string, int, int, std::int64_t>> classes_;
};

/// A value a put with verification refused; the text is the ERP's message.
class VerifyRefusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The value a field takes from a put with verification, normalised as the ERP's view does
/// (codes upper-cased, an item number unformatted), after the view's checks against the record's
/// other values and the tax tables. Throws VerifyRefusal with the ERP's message.
Variant Verified(const FieldLayout& field, const Variant& value, const std::vector<Variant>& record,
                 TaxTables& tables);

/// An item number without its mask: upper-cased, separators removed, as the ERP stores it.
std::string UnformattedItemNumber(const std::string& text);

}  // namespace host::webapi
