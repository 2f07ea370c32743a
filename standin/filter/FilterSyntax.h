#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace erp {

/// A comparison operator of a filter condition.
enum class CompareOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };

/// A word that joins two terms of a filter.
enum class Connective { And, Or };

/// The right-hand side of a condition as written: a bare word may name a field, a string never.
struct FilterOperand {
  bool quoted = false;
  std::string text;
  size_t position = 0;
};

/// One `FIELD op operand` condition, with the field name as written.
struct FilterCondition {
  std::string field;
  size_t fieldPosition = 0;
  CompareOp op = CompareOp::Equal;
  size_t opPosition = 0;
  FilterOperand operand;
};

struct FilterChain;

/// A condition or a parenthesised chain.
using FilterTerm = std::variant<FilterCondition, std::unique_ptr<FilterChain>>;

/// Terms joined by connectives and evaluated strictly from left to right.
struct FilterChain {
  std::vector<FilterTerm> terms;        ///< empty only for an empty filter
  std::vector<Connective> connectives;  ///< connectives[i] joins terms[i] and terms[i + 1]
  size_t position = 0;                  ///< where the chain's first term starts
};

}  // namespace erp
