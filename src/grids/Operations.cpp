#include "grids/Operations.h"

namespace grids {

bool OperationRule::Uses(CellRole cell) const {
  switch (cell) {
    case CellRole::FromClass:
      return fromClasses;
    case CellRole::ToClass:
      return toClasses;
    case CellRole::TaxIncluded:
      return taxIncluded;
  }
  return false;
}

const std::vector<OperationRule>& OperationRules() {
  // An inserted row has no classes to match yet; a deleted one has nothing to write.
  static const std::vector<OperationRule> rules{
      {Operation::Insert, "Insert", false, true, true},
      {Operation::Update, "Update", true, true, true},
      {Operation::Delete, "Delete", false, false, false},
  };
  return rules;
}

const OperationRule& RuleOf(Operation operation) {
  return OperationRules().at(static_cast<size_t>(operation));
}

std::optional<Operation> OperationNamed(const std::string& name) {
  for (const OperationRule& rule : OperationRules()) {
    if (name == rule.name) return rule.operation;
  }
  return std::nullopt;
}

std::string OperationNames() {
  std::string names;
  const std::vector<OperationRule>& rules = OperationRules();
  for (size_t i = 0; i < rules.size(); ++i) {
    if (i > 0) names += i + 1 == rules.size() ? " or " : ", ";
    names += rules[i].name;
  }
  return names;
}

}  // namespace grids
