#include "host/webapi/ErpFilter.h"

#include "platform/Text.h"

#include <optional>

namespace host::webapi {
namespace {

enum class TokenKind { Word, String, Operator, Open, Close, End };

struct Token {
  TokenKind kind;
  std::string text;
  size_t position;
};

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EndsWord(char c) {
  return Blank(c) || c == '(' || c == ')' || c == '"' || c == '=' || c == '!' || c == '<' ||
         c == '>';
}

// A backslash escapes only a double quote; every other backslash is kept, which is why the
// program puts a blank after a value that ends with one.
Token ReadString(std::string_view filter, size_t& i) {
  Token token{TokenKind::String, {}, i};
  for (++i; i < filter.size(); ++i) {
    if (filter[i] == '\\' && i + 1 < filter.size() && filter[i + 1] == '"') {
      token.text += '"';
      ++i;
    } else if (filter[i] == '"') {
      ++i;
      return token;
    } else {
      token.text += filter[i];
    }
  }
  throw FilterRefusal("Unterminated string", token.position);
}

Token ReadOperator(std::string_view filter, size_t start) {
  const char c = filter[start];
  const bool equalsFollows = start + 1 < filter.size() && filter[start + 1] == '=';
  if (c == '=') return {TokenKind::Operator, "=", start};
  if (c == '!' && !equalsFollows) throw FilterRefusal("Unexpected character !", start);
  return {TokenKind::Operator, std::string(1, c) + (equalsFollows ? "=" : ""), start};
}

std::vector<Token> Tokens(std::string_view filter) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < filter.size()) {
    const char c = filter[i];
    if (Blank(c)) {
      ++i;
    } else if (c == '(' || c == ')') {
      tokens.push_back({c == '(' ? TokenKind::Open : TokenKind::Close, std::string(1, c), i++});
    } else if (c == '"') {
      tokens.push_back(ReadString(filter, i));
    } else if (c == '=' || c == '!' || c == '<' || c == '>') {
      tokens.push_back(ReadOperator(filter, i));
      i += tokens.back().text.size();
    } else {
      const size_t start = i;
      while (i < filter.size() && !EndsWord(filter[i])) ++i;
      tokens.push_back({TokenKind::Word, std::string(filter.substr(start, i - start)), start});
    }
  }
  tokens.push_back({TokenKind::End, {}, filter.size()});
  return tokens;
}

bool Keyword(const Token& token, std::string_view keyword) {
  return token.kind == TokenKind::Word && platform::UpperCase(token.text) == keyword;
}

std::optional<CompareOp> OpOf(const Token& token) {
  if (Keyword(token, "LIKE")) return CompareOp::Like;
  if (token.kind != TokenKind::Operator) return std::nullopt;
  if (token.text == "=") return CompareOp::Equal;
  if (token.text == "!=") return CompareOp::NotEqual;
  if (token.text == "<") return CompareOp::Less;
  if (token.text == ">") return CompareOp::Greater;
  if (token.text == "<=") return CompareOp::LessEqual;
  return CompareOp::GreaterEqual;
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  ErpChain ParseAll() {
    if (Peek().kind == TokenKind::End) return {};
    ErpChain chain = ParseChain(0, "the start");
    if (Peek().kind != TokenKind::End) {
      throw FilterRefusal("Unexpected text after the filter", Peek().position);
    }
    return chain;
  }

 private:
  const Token& Peek() const { return tokens_[next_]; }
  const Token& Take() {
    const Token& token = tokens_[next_];
    if (token.kind != TokenKind::End) ++next_;
    return token;
  }

  ErpChain ParseChain(int depth, const std::string& before) {
    ErpChain chain;
    chain.position = Peek().position;
    chain.terms.push_back(ParseTerm(depth, before));
    while (Keyword(Peek(), "AND") || Keyword(Peek(), "OR")) {
      chain.ands.push_back(Keyword(Peek(), "AND"));
      const std::string after = Take().text;
      chain.terms.push_back(ParseTerm(depth, after));
    }
    return chain;
  }

  ErpTerm ParseTerm(int depth, const std::string& after) {
    const Token& token = Peek();
    if (token.kind == TokenKind::Open) return ParseGroup(depth);
    if (token.kind == TokenKind::Word) return ParseCondition();
    if (token.kind == TokenKind::End) {
      throw FilterRefusal("Expected a condition after " + after, token.position);
    }
    throw FilterRefusal("Expected a field name or an opening parenthesis", token.position);
  }

  ErpTerm ParseGroup(int depth) {
    const size_t open = Take().position;
    if (depth + 1 > kMaxFilterNesting) {
      throw FilterRefusal(
          "Parentheses nested more than " + std::to_string(kMaxFilterNesting) + " deep", open);
    }
    auto chain = std::make_unique<ErpChain>(ParseChain(depth + 1, "("));
    if (Peek().kind == TokenKind::End) {
      throw FilterRefusal("Missing closing parenthesis", Peek().position);
    }
    if (Peek().kind != TokenKind::Close) {
      throw FilterRefusal("Expected AND, OR or a closing parenthesis", Peek().position);
    }
    Take();
    return chain;
  }

  ErpTerm ParseCondition() {
    ErpCondition condition;
    const Token& field = Take();
    condition.field = field.text;
    condition.fieldPosition = field.position;
    if (++conditions_ > kMaxFilterConditions) {
      throw FilterRefusal("More than " + std::to_string(kMaxFilterConditions) + " conditions",
                          field.position);
    }
    const Token& op = Take();
    const std::optional<CompareOp> compare = OpOf(op);
    if (!compare) {
      throw FilterRefusal("Expected an operator after " + MessageText(condition.field),
                          op.position);
    }
    condition.op = *compare;
    condition.opText = op.text;
    condition.opPosition = op.position;
    const Token& operand = Take();
    if (operand.kind != TokenKind::Word && operand.kind != TokenKind::String) {
      throw FilterRefusal("Expected a value after " + op.text, operand.position);
    }
    condition.quoted = operand.kind == TokenKind::String;
    condition.operand = operand.text;
    condition.operandPosition = operand.position;
    return condition;
  }

  std::vector<Token> tokens_;
  size_t next_ = 0;
  size_t conditions_ = 0;
};

}  // namespace

ErpChain ParseErpFilter(std::string_view filter) {
  return Parser(Tokens(filter)).ParseAll();
}

std::string MessageText(std::string_view text) {
  constexpr size_t kLongest = 40;
  std::string shown;
  for (char c : text.substr(0, kLongest)) {
    const auto byte = static_cast<unsigned char>(c);
    shown += byte < 0x20 || byte == 0x7f ? '?' : c;
  }
  if (text.size() > kLongest) shown += "...";
  return shown;
}

}  // namespace host::webapi
