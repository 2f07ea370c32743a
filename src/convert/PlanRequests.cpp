#include "convert/KindTable.h"
#include "convert/PlanChecks.h"

#include <algorithm>

namespace convert {
namespace {

/// The plan's groups a tax-group mapping of `transactionType` converts, in plan order.
std::vector<const PlanGroup*> GroupsOfType(const Plan& plan, std::int16_t transactionType) {
  std::vector<const PlanGroup*> groups;
  for (const PlanGroup& group : plan.groups) {
    if (std::find(group.types.begin(), group.types.end(), transactionType) != group.types.end()) {
      groups.push_back(&group);
    }
  }
  return groups;
}

TaxGroupChoice SideChoice(const RequestValue& group, const ClassMap* first, bool from, int line) {
  TaxGroupChoice choice{line, group, {}, 0};
  if (first != nullptr) {
    choice.classes = from ? first->from : first->to;
    choice.classesLine = first->line;
  }
  return choice;
}

void CheckKindsOf(const MappingDef& mapping, int line, ConversionRequest& request) {
  for (const KindDef& kind : Kinds()) {
    if (kind.mapping == mapping.frame) request.kinds[kind.checkBox] = {line, true, {}, {}};
  }
}

void AddGroup(const MappingDef& mapping, const PlanGroup& group, ConversionRequest& request) {
  const bool classes = !mapping.from.gridControl.empty() && !group.classes.empty();
  const ClassMap* first = classes ? &group.classes.front() : nullptr;
  request.taxGroups[mapping.from.name] = SideChoice(group.from, first, true, group.line);
  request.taxGroups[mapping.to.name] = SideChoice(group.to, first, false, group.line);
  if (classes) request.classMaps[mapping.from.name] = group.classes;
  CheckKindsOf(mapping, group.line, request);
}

/// The request of round `round` of a tab: the round-th group of each tax-group mapping, and in
/// the first round the replacements.
ConversionRequest RoundRequest(const Plan& plan, const std::string& company, const std::string& tab,
                               size_t round) {
  ConversionRequest request;
  request.file = plan.file;
  request.company = company;
  request.user = plan.user;
  request.tab = TabIndexOf(tab);
  request.tabLine = plan.modulesLine;
  request.recordsPerCommit = plan.recordsPerCommit;
  for (const MappingDef& mapping : Mappings()) {
    if (mapping.tab != tab) continue;
    if (mapping.type == ConversionType::TaxGroup) {
      const std::vector<const PlanGroup*> groups = GroupsOfType(plan, mapping.transactionType);
      if (round < groups.size()) AddGroup(mapping, *groups[round], request);
    } else if (round == 0 && !plan.authorities.empty()) {
      CheckKindsOf(mapping, plan.authorities.front().line, request);
      request.replacements[mapping.grid] = plan.authorities;
    }
  }
  return request;
}

}  // namespace

std::vector<ConversionRequest> PlanRequests(const Plan& plan, const std::string& company,
                                            const std::vector<std::string>& tabs) {
  std::vector<ConversionRequest> requests;
  for (const std::string& tab : tabs) {
    for (size_t round = 0;; ++round) {
      ConversionRequest request = RoundRequest(plan, company, tab, round);
      if (request.kinds.empty()) break;
      requests.push_back(std::move(request));
    }
  }
  return requests;
}

}  // namespace convert
