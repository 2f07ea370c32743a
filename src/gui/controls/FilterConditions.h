#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gui::controls {

/// One row of the filter window: a field compared with a value, joined to the row before it.
struct FilterCondition {
  bool orJoin = false;  ///< joined to the condition before it by OR rather than AND
  std::string field;    ///< the field's name
  std::string op;       ///< one of FilterOperators()
  std::string value;    ///< the operand as the operator typed it
  bool operator==(const FilterCondition&) const = default;
};

/// Whether the view's field of that name holds text (and its operands are quoted).
using IsTextField = std::function<bool(const std::string& field)>;

/// Every comparison of the ERP's filter language.
const std::vector<std::string>& FilterOperators();

/// The conditions as one filter in the ERP's syntax, joined from left to right as the ERP
/// evaluates them: a text operand in double quotes with \" for a quote, any other bare. A row
/// without a field is left out.
std::string FilterText(const std::vector<FilterCondition>& conditions, const IsTextField& isText);

/// The rows of a filter made only of conditions joined by AND and OR, each with a quoted operand
/// exactly where the field holds text; nothing for any other filter, which stays text only.
std::optional<std::vector<FilterCondition>> ParseConditions(const std::string& filter,
                                                            const IsTextField& isText);

}  // namespace gui::controls
