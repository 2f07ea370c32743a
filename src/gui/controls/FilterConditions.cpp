#include "gui/controls/FilterConditions.h"

#include <algorithm>
#include <cctype>

namespace gui::controls {
namespace {

std::string Quoted(const std::string& value) {
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted += '\\';
    quoted += c;
  }
  // A closing quote right after a backslash would be taken as part of the text.
  if (!value.empty() && value.back() == '\\') quoted += ' ';
  return quoted + "\"";
}

bool SameWord(const std::string& word, const char* keyword) {
  const std::string expected = keyword;
  return word.size() == expected.size() &&
         std::equal(word.begin(), word.end(), expected.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == b;
         });
}

/// Reads the filter a token at a time; a token is a word, an operator or a quoted text.
class Tokens {
 public:
  explicit Tokens(const std::string& text) : text_(text) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ >= text_.size();
  }
  /// The next word or bare operand; empty when the next token is none.
  std::string Word() {
    SkipBlanks();
    const size_t start = at_;
    while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) &&
           text_[at_] != '(' && text_[at_] != ')' && text_[at_] != '"' && !IsOperatorChar()) {
      ++at_;
    }
    return text_.substr(start, at_ - start);
  }
  /// The next comparison operator, or empty.
  std::string Operator() {
    SkipBlanks();
    for (const char* op : {"!=", "<=", ">=", "=", "<", ">"}) {
      if (text_.compare(at_, std::char_traits<char>::length(op), op) == 0) {
        at_ += std::char_traits<char>::length(op);
        return op;
      }
    }
    const size_t start = at_;
    std::string word = Word();
    if (SameWord(word, "LIKE")) return "LIKE";
    at_ = start;
    return {};
  }
  /// A quoted text without its quotes and trailing blanks; nothing when the next token is none.
  std::optional<std::string> Quoted() {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != '"') return std::nullopt;
    std::string value;
    for (++at_; at_ < text_.size(); ++at_) {
      if (text_[at_] == '\\' && at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
        value += '"';
        ++at_;
      } else if (text_[at_] == '"') {
        ++at_;
        while (!value.empty() && value.back() == ' ') value.pop_back();
        return value;
      } else {
        value += text_[at_];
      }
    }
    return std::nullopt;
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool IsOperatorChar() const {
    const char c = text_[at_];
    return c == '=' || c == '!' || c == '<' || c == '>';
  }

  const std::string& text_;
  size_t at_ = 0;
};

std::optional<FilterCondition> ReadCondition(Tokens& tokens, const IsTextField& isText) {
  FilterCondition condition;
  condition.field = tokens.Word();
  condition.op = tokens.Operator();
  if (condition.field.empty() || condition.op.empty()) return std::nullopt;
  if (isText(condition.field)) {
    std::optional<std::string> value = tokens.Quoted();
    if (!value) return std::nullopt;
    condition.value = *value;
  } else {
    condition.value = tokens.Word();
    if (condition.value.empty()) return std::nullopt;
  }
  return condition;
}

}  // namespace

const std::vector<std::string>& FilterOperators() {
  static const std::vector<std::string> operators{"=", "!=", "<", ">", "<=", ">=", "LIKE"};
  return operators;
}

std::string FilterText(const std::vector<FilterCondition>& conditions, const IsTextField& isText) {
  std::string text;
  for (const FilterCondition& condition : conditions) {
    if (condition.field.empty()) continue;
    if (!text.empty()) text += condition.orJoin ? " OR " : " AND ";
    text += condition.field + " " + condition.op + " " +
            (isText(condition.field) ? Quoted(condition.value) : condition.value);
  }
  return text;
}

std::optional<std::vector<FilterCondition>> ParseConditions(const std::string& filter,
                                                            const IsTextField& isText) {
  std::vector<FilterCondition> conditions;
  Tokens tokens(filter);
  bool orJoin = false;
  while (!tokens.AtEnd()) {
    std::optional<FilterCondition> condition = ReadCondition(tokens, isText);
    if (!condition) return std::nullopt;
    condition->orJoin = orJoin;
    conditions.push_back(*condition);
    if (tokens.AtEnd()) break;
    const std::string join = tokens.Word();
    if (!SameWord(join, "AND") && !SameWord(join, "OR")) return std::nullopt;
    orJoin = SameWord(join, "OR");
    if (tokens.AtEnd()) return std::nullopt;
  }
  return conditions;
}

}  // namespace gui::controls
