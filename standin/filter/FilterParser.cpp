#include "standin/filter/FilterParser.h"

#include "platform/Text.h"
#include "standin/filter/FilterLexer.h"
#include "standin/filter/FilterMessage.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace erp {
namespace {

bool equalsKeyword(const FilterToken& token, std::string_view keyword) {
  return token.kind == FilterTokenKind::Word && platform::UpperCase(token.text) == keyword;
}

std::optional<CompareOp> compareOpOf(const FilterToken& token) {
  if (equalsKeyword(token, "LIKE")) return CompareOp::Like;
  if (token.kind != FilterTokenKind::Operator) return std::nullopt;
  if (token.text == "=") return CompareOp::Equal;
  if (token.text == "!=") return CompareOp::NotEqual;
  if (token.text == "<") return CompareOp::Less;
  if (token.text == ">") return CompareOp::Greater;
  if (token.text == "<=") return CompareOp::LessEqual;
  return CompareOp::GreaterEqual;
}

std::optional<Connective> connectiveOf(const FilterToken& token) {
  if (equalsKeyword(token, "AND")) return Connective::And;
  if (equalsKeyword(token, "OR")) return Connective::Or;
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(std::vector<FilterToken> tokens) : tokens_(std::move(tokens)) {}

  FilterChain parseAll() {
    if (peek().kind == FilterTokenKind::End) return {};
    FilterChain chain = parseChain(0, "the start");
    if (peek().kind != FilterTokenKind::End) {
      throwFilterError("Unexpected text after the filter", peek().position);
    }
    return chain;
  }

 private:
  const FilterToken& peek() const { return tokens_[next_]; }

  // Tokens end with End, which is never consumed.
  const FilterToken& take() {
    const FilterToken& token = tokens_[next_];
    if (token.kind != FilterTokenKind::End) ++next_;
    return token;
  }

  // `before` names what precedes the chain, for the message when the filter stops short.
  FilterChain parseChain(int depth, const std::string& before) {
    FilterChain chain;
    chain.position = peek().position;
    chain.terms.push_back(parseTerm(depth, before));
    while (std::optional<Connective> connective = connectiveOf(peek())) {
      std::string after = take().text;
      chain.connectives.push_back(*connective);
      chain.terms.push_back(parseTerm(depth, after));
    }
    return chain;
  }

  FilterTerm parseTerm(int depth, const std::string& after) {
    const FilterToken& token = peek();
    if (token.kind == FilterTokenKind::OpenParen) return parseGroup(depth);
    if (token.kind == FilterTokenKind::Word) return parseCondition();
    if (token.kind == FilterTokenKind::End) {
      throwFilterError("Expected a condition after " + after, token.position);
    }
    throwFilterError("Expected a field name or an opening parenthesis", token.position);
  }

  FilterTerm parseGroup(int depth) {
    size_t open = take().position;
    if (depth + 1 > kMaxFilterNesting) {
      throwFilterError(
          "Parentheses nested more than " + std::to_string(kMaxFilterNesting) + " deep", open);
    }
    auto chain = std::make_unique<FilterChain>(parseChain(depth + 1, "("));
    const FilterToken& token = peek();
    if (token.kind == FilterTokenKind::End) {
      throwFilterError("Missing closing parenthesis", token.position);
    }
    if (token.kind != FilterTokenKind::CloseParen) {
      throwFilterError("Expected AND, OR or a closing parenthesis", token.position);
    }
    take();
    return chain;
  }

  FilterTerm parseCondition() {
    FilterCondition condition;
    const FilterToken& field = take();
    condition.field = field.text;
    condition.fieldPosition = field.position;
    if (++conditions_ > kMaxFilterConditions) {
      throwFilterError("More than " + std::to_string(kMaxFilterConditions) + " conditions",
                       field.position);
    }
    const FilterToken& op = take();
    std::optional<CompareOp> compareOp = compareOpOf(op);
    if (!compareOp) {
      throwFilterError("Expected an operator after " + messageText(condition.field), op.position);
    }
    condition.op = *compareOp;
    condition.opPosition = op.position;
    const FilterToken& operand = take();
    if (operand.kind != FilterTokenKind::Word && operand.kind != FilterTokenKind::String) {
      throwFilterError("Expected a value after " + op.text, operand.position);
    }
    condition.operand = {operand.kind == FilterTokenKind::String, operand.text, operand.position};
    return condition;
  }

  std::vector<FilterToken> tokens_;
  size_t next_ = 0;
  size_t conditions_ = 0;
};

}  // namespace

FilterChain parseFilter(std::string_view filter) {
  return Parser(tokenizeFilter(filter)).parseAll();
}

}  // namespace erp
