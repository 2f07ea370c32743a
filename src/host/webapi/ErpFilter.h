#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace host::webapi {

/// A filter the program cannot use; the text ends with " at position N." and `Position` is N,
/// the 0-based offset of the fault, as the ERP reports a filter it does not understand.
class FilterRefusal : public std::runtime_error {
 public:
  FilterRefusal(const std::string& problem, size_t position)
      : std::runtime_error(problem + " at position " + std::to_string(position) + "."),
        position_(position) {}
  size_t Position() const { return position_; }

 private:
  size_t position_;
};

/// A comparison of a filter condition.
enum class CompareOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };

/// One `FIELD op operand` condition as written; a bare word may name another field.
struct ErpCondition {
  std::string field;
  size_t fieldPosition = 0;
  CompareOp op = CompareOp::Equal;
  std::string opText;
  size_t opPosition = 0;
  bool quoted = false;
  std::string operand;
  size_t operandPosition = 0;
};

struct ErpChain;

/// A condition or a parenthesised chain.
using ErpTerm = std::variant<ErpCondition, std::unique_ptr<ErpChain>>;

/// Terms joined by AND and OR, which the ERP evaluates strictly from left to right.
struct ErpChain {
  std::vector<ErpTerm> terms;  ///< empty only for an empty filter
  std::vector<bool> ands;      ///< ands[i] joins terms[i] and terms[i + 1]: AND, else OR
  size_t position = 0;         ///< where the chain's first term starts
};

/// The deepest parentheses and the most conditions the ERP takes in one filter.
inline constexpr int kMaxFilterNesting = 64;
inline constexpr size_t kMaxFilterConditions = 500;

/// Reads a browse filter in the ERP's syntax; throws FilterRefusal with the ERP's message.
ErpChain ParseErpFilter(std::string_view filter);

/// A text as the ERP's messages quote it: at most 40 characters, control characters as '?'.
std::string MessageText(std::string_view text);

}  // namespace host::webapi
