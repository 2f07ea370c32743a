#include "convert/PlanChecks.h"

#include "convert/KindControlSet.h"
#include "convert/KindTable.h"
#include "platform/Text.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <tuple>
#include <utility>

namespace convert {
namespace {

constexpr int kGroupAuthorities = 5;
constexpr int kIncludableField = 7;
/// Tax-group mappings keep their classes on the customer or vendor axis.
constexpr std::int16_t kGroupClassAxis = 1;

std::string TypeName(std::int16_t type) {
  return type == 1 ? "sales" : "purchases";
}

std::string JoinedWith(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

/// The company's tax tables, read through the views.
class TaxTables {
 public:
  TaxTables(host::AccpacConnection& connection, host::DataSourceFactory& factory)
      : groups_(Open(connection, factory, "TX0003")),
        classes_(Open(connection, factory, "TX0001")),
        authorities_(Open(connection, factory, "TX0002")) {}

  /// The authorities of the group for the transaction type; nothing when there is no such group.
  std::optional<std::vector<std::string>> Authorities(const std::string& group, std::int16_t type) {
    groups_->ClearRecord();
    groups_->Fields("GROUPID").PutWithoutVerification(group);
    groups_->Fields("TTYPE").PutWithoutVerification(std::int64_t{type});
    if (!groups_->Read()) return std::nullopt;
    std::vector<std::string> authorities;
    for (int n = 1; n <= kGroupAuthorities; ++n) {
      std::string authority =
          platform::Trim(groups_->Fields("AUTHORITY" + std::to_string(n)).Text(), " ");
      if (authority.empty()) break;
      authorities.push_back(std::move(authority));
    }
    return authorities;
  }

  bool ClassExists(const std::string& authority, std::int16_t type, std::int16_t axis,
                   const std::string& taxClass) {
    classes_->ClearRecord();
    classes_->Fields("AUTHORITY").PutWithoutVerification(authority);
    classes_->Fields("CLASSTYPE").PutWithoutVerification(std::int64_t{type});
    classes_->Fields("CLASSAXIS").PutWithoutVerification(std::int64_t{axis});
    classes_->Fields("CLASS").PutWithoutVerification(taxClass);
    return classes_->Read();
  }

  /// Whether the authority exists and, when it does, whether it allows tax included in prices.
  std::optional<bool> AuthorityIncludable(const std::string& authority) {
    authorities_->ClearRecord();
    authorities_->Fields("AUTHORITY").PutWithoutVerification(authority);
    if (!authorities_->Read()) return std::nullopt;
    return host::VariantBoolean(authorities_->Fields(kIncludableField).Value());
  }

 private:
  static std::unique_ptr<host::DataSource> Open(host::AccpacConnection& connection,
                                                host::DataSourceFactory& factory,
                                                const std::string& view) {
    std::unique_ptr<host::DataSource> source = factory.NewDataSource(view);
    source->SetDBLink(connection.CompanyDBLinkRW());
    source->SetOpen(true);
    return source;
  }

  std::unique_ptr<host::DataSource> groups_;
  std::unique_ptr<host::DataSource> classes_;
  std::unique_ptr<host::DataSource> authorities_;
};

/// The transaction types the tax-group mappings of `tabs` convert.
std::set<std::int16_t> GroupTypesOf(const std::vector<std::string>& tabs) {
  std::set<std::int16_t> types;
  for (const MappingDef& mapping : Mappings()) {
    if (mapping.type != ConversionType::TaxGroup || mapping.from.gridControl.empty()) continue;
    if (std::find(tabs.begin(), tabs.end(), mapping.tab) != tabs.end()) {
      types.insert(mapping.transactionType);
    }
  }
  return types;
}

/// The operations grids of `tabs`.
std::vector<const MappingDef*> AuthorityGridsOf(const std::vector<std::string>& tabs) {
  std::vector<const MappingDef*> grids;
  for (const MappingDef& mapping : Mappings()) {
    if (mapping.type != ConversionType::TaxAuthority) continue;
    if (std::find(tabs.begin(), tabs.end(), mapping.tab) != tabs.end()) grids.push_back(&mapping);
  }
  return grids;
}

/// The class types and axes the to-class columns of `grids` write.
std::set<std::pair<std::int16_t, std::int16_t>> ClassKindsOf(
    const std::vector<const MappingDef*>& grids) {
  std::set<std::pair<std::int16_t, std::int16_t>> kinds;
  for (const MappingDef* mapping : grids) {
    for (const AuthorityColumnDef& column : mapping->columns) {
      if (column.kind == AuthorityColumnKind::ToClass) {
        kinds.emplace(column.classType, column.classAxis);
      }
    }
  }
  return kinds;
}

class CompanyChecker {
 public:
  CompanyChecker(std::function<std::string(int)> where, TaxTables& tables,
                 std::vector<std::string>& problems)
      : where_(std::move(where)), tables_(tables), problems_(problems) {}

  void CheckGroups(const std::vector<PlanGroup>& groups, const std::vector<std::string>& tabs) {
    const std::set<std::int16_t> used = GroupTypesOf(tabs);
    for (const PlanGroup& group : groups) {
      for (std::int16_t type : group.types) {
        if (used.count(type) == 0) continue;
        const auto from = GroupAuthorities(group.from, type);
        const auto to = GroupAuthorities(group.to, type);
        for (const ClassMap& map : group.classes) {
          if (from) CheckSide(map.line, map.from, group.from.text, *from, type);
          if (to) CheckSide(map.line, map.to, group.to.text, *to, type);
        }
      }
    }
  }

  void CheckAuthorities(const std::vector<AuthorityReplacement>& replacements,
                        const std::vector<const MappingDef*>& grids) {
    const auto kinds = ClassKindsOf(grids);
    if (kinds.empty()) return;
    for (const AuthorityReplacement& replacement : replacements) {
      const bool from = AuthorityExists(replacement.from);
      const std::optional<bool> includable = Includable(replacement.to);
      if (includable && !*includable && replacement.taxIncluded == TaxIncludedRule::Yes) {
        Fail(replacement.line,
             "Tax authority " + replacement.to.text + " does not allow tax included in prices.");
      }
      for (const auto& [type, axis] : kinds) {
        for (const auto& [fromClass, toClass] : replacement.classes) {
          if (from) CheckClass(replacement.line, replacement.from.text, type, axis, fromClass);
          if (includable) CheckClass(replacement.line, replacement.to.text, type, axis, toClass);
        }
      }
    }
  }

 private:
  void Fail(int line, const std::string& problem) { problems_.push_back(where_(line) + problem); }

  std::optional<std::vector<std::string>> GroupAuthorities(const RequestValue& group,
                                                           std::int16_t type) {
    std::optional<std::vector<std::string>> authorities = tables_.Authorities(group.text, type);
    if (!authorities) {
      Fail(group.line, "Tax group " + group.text + " does not exist for " + TypeName(type) + ".");
    }
    return authorities;
  }

  void CheckSide(int line, const std::vector<std::string>& classes, const std::string& group,
                 const std::vector<std::string>& authorities, std::int16_t type) {
    if (classes.size() != authorities.size()) {
      Fail(line, JoinedWith(classes, ",") + " has " + std::to_string(classes.size()) +
                     " classes, but tax group " + group + " has " +
                     std::to_string(authorities.size()) + " authorities for " + TypeName(type) +
                     " (" + JoinedWith(authorities, ", ") + ").");
      return;
    }
    for (size_t n = 0; n < classes.size(); ++n) {
      CheckClass(line, authorities[n], type, kGroupClassAxis, classes[n]);
    }
  }

  void CheckClass(int line, const std::string& authority, std::int16_t type, std::int16_t axis,
                  const std::string& taxClass) {
    if (!checked_.insert({authority, type, axis, taxClass}).second) return;
    if (!tables_.ClassExists(authority, type, axis, taxClass)) {
      Fail(line, "Tax class " + taxClass + " of authority " + authority + " does not exist for " +
                     TypeName(type) + ".");
    }
  }

  bool AuthorityExists(const RequestValue& authority) { return Includable(authority).has_value(); }

  std::optional<bool> Includable(const RequestValue& authority) {
    std::optional<bool> includable = tables_.AuthorityIncludable(authority.text);
    if (!includable) Fail(authority.line, "Tax authority " + authority.text + " does not exist.");
    return includable;
  }

  std::function<std::string(int)> where_;
  TaxTables& tables_;
  std::vector<std::string>& problems_;
  /// Classes already asked about, so that one missing class is told once.
  std::set<std::tuple<std::string, std::int16_t, std::int16_t, std::string>> checked_;
};

}  // namespace

CompanyPlan CheckPlanOnCompany(const Plan& plan, host::AccpacConnection& connection,
                               host::DataSourceFactory& dataSources) {
  CompanyPlan result;
  for (const std::string& tab : RunTabs()) {
    const bool chosen = plan.modules.empty() || std::find(plan.modules.begin(), plan.modules.end(),
                                                          tab) != plan.modules.end();
    if (!chosen) continue;
    (IsModuleActive(connection, tab) ? result.tabs : result.skippedTabs).push_back(tab);
  }
  TaxTables tables(connection, dataSources);
  CompanyChecker checker([&plan](int line) { return plan.Where(line); }, tables, result.problems);
  checker.CheckGroups(plan.groups, result.tabs);
  checker.CheckAuthorities(plan.authorities, AuthorityGridsOf(result.tabs));
  return result;
}

std::vector<std::string> CheckReplacements(const ConversionRequest& request,
                                           host::AccpacConnection& connection,
                                           host::DataSourceFactory& dataSources) {
  std::vector<std::string> problems;
  if (request.replacements.empty()) return problems;
  TaxTables tables(connection, dataSources);
  CompanyChecker checker([&request](int line) { return request.Where(line); }, tables, problems);
  for (const auto& [grid, replacements] : request.replacements) {
    for (const MappingDef& mapping : Mappings()) {
      if (mapping.grid == grid) checker.CheckAuthorities(replacements, {&mapping});
    }
  }
  return problems;
}

}  // namespace convert
