#pragma once

#include <optional>
#include <string>
#include <vector>

namespace grids {

/// What a row of an operations grid does to a record's detail row of its authority.
enum class Operation {
  Insert,  ///< adds the row when the record has none, with the to classes
  Update,  ///< rewrites the row's classes when they are the from classes
  Delete,  ///< removes the row
};

/// The cells of an operations row besides its operation and authority.
enum class CellRole {
  FromClass,    ///< a class the row must carry now
  ToClass,      ///< a class to write
  TaxIncluded,  ///< whether prices include the tax, to write
};

/// What one operation is called and which of a row's cells it uses: those the operator may give,
/// which a change of operation fills in and which the conversion reads.
struct OperationRule {
  Operation operation;
  /// The name the grid shows and a job gives ("Insert").
  const char* name;
  bool fromClasses;
  bool toClasses;
  bool taxIncluded;

  /// Whether the row uses a cell of `cell`.
  bool Uses(CellRole cell) const;
};

/// The operations in the order the operation editor lists them; the position is the editor's
/// value of each.
const std::vector<OperationRule>& OperationRules();

/// The rule of `operation`.
const OperationRule& RuleOf(Operation operation);

/// The operation named `name` exactly as the grid shows it; nothing for any other text.
std::optional<Operation> OperationNamed(const std::string& name);

/// The names of the operations, in order, joined by ", " with "or" before the last.
std::string OperationNames();

}  // namespace grids
