#include "standin/webapi/ODataFilter.h"

#include "standin/webapi/JsonValues.h"
#include "standin/webapi/WebApiError.h"

#include <cctype>
#include <utility>
#include <vector>

namespace erp::webapi {
namespace {

// Deeper nesting than any real query needs; it bounds the parser's recursion on hostile input.
constexpr int kMaxDepth = 32;

enum class TokenKind { Name, String, Number, Open, Close, Comma, End };

struct Token {
  TokenKind kind;
  std::string text;
  size_t position;
};

bool isNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

[[noreturn]] void fail(const std::string& message, size_t position) {
  throw invalidParameters("$filter: " + message + " at position " + std::to_string(position + 1) +
                          ".");
}

Token readString(std::string_view text, size_t& i) {
  Token token{TokenKind::String, {}, i};
  for (++i; i < text.size(); ++i) {
    if (text[i] != '\'') {
      token.text += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '\'') {
      token.text += '\'';
      ++i;
    } else {
      ++i;
      return token;
    }
  }
  fail("unterminated string", token.position);
}

Token readNumber(std::string_view text, size_t& i) {
  const size_t start = i;
  if (text[i] == '-' || text[i] == '+') ++i;
  const size_t digits = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  if (i == digits) fail("expected a number", start);
  if (i < text.size() && text[i] == '.') {
    ++i;
    const size_t fraction = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i == fraction) fail("expected digits after the decimal point", start);
  }
  if (i < text.size() && isNameChar(text[i])) fail("malformed number", start);
  return {TokenKind::Number, std::string(text.substr(start, i - start)), start};
}

std::vector<Token> tokenize(std::string_view text) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t') {
      ++i;
    } else if (c == '(' || c == ')' || c == ',') {
      tokens.push_back({c == '('   ? TokenKind::Open
                        : c == ')' ? TokenKind::Close
                                   : TokenKind::Comma,
                        std::string(1, c), i++});
    } else if (c == '\'') {
      tokens.push_back(readString(text, i));
    } else if (isDigit(c) || c == '-' || c == '+') {
      tokens.push_back(readNumber(text, i));
    } else if (isNameChar(c)) {
      const size_t start = i;
      while (i < text.size() && isNameChar(text[i])) ++i;
      tokens.push_back({TokenKind::Name, std::string(text.substr(start, i - start)), start});
    } else {
      fail(std::string("unexpected character ") + c, i);
    }
  }
  tokens.push_back({TokenKind::End, {}, text.size()});
  return tokens;
}

/// The ERP's comparison operator of an OData one, or "" when the word is none.
std::string erpOperator(const std::string& word) {
  static const std::pair<const char*, const char*> kOperators[] = {
      {"eq", "="}, {"ne", "!="}, {"gt", ">"}, {"ge", ">="}, {"lt", "<"}, {"le", "<="}};
  for (const auto& [odata, erp] : kOperators) {
    if (word == odata) return erp;
  }
  return {};
}

/// The operator that keeps a comparison true when its sides change places.
std::string mirrored(const std::string& op) {
  if (op == ">") return "<";
  if (op == "<") return ">";
  if (op == ">=") return "<=";
  if (op == "<=") return ">=";
  return op;
}

/// A text as a quoted ERP string; the blank keeps a final backslash from escaping the quote, and
/// the ERP ignores trailing blanks.
std::string quoted(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    if (c == '"') result += '\\';
    result += c;
  }
  return result + " \"";
}

class Translator {
 public:
  Translator(const PropertySet& set, std::string_view filter)
      : set_(set), tokens_(tokenize(filter)) {}

  std::string translate() {
    if (peek().kind == TokenKind::End) fail("the filter is empty", 0);
    std::string result = orChain(0);
    if (peek().kind != TokenKind::End) fail("unexpected " + describe(peek()), peek().position);
    return result;
  }

 private:
  const Token& peek() const { return tokens_[next_]; }
  const Token& take() {
    const Token& token = tokens_[next_];
    if (token.kind != TokenKind::End) ++next_;
    return token;
  }
  bool takeWord(const char* word) {
    if (peek().kind != TokenKind::Name || peek().text != word) return false;
    ++next_;
    return true;
  }
  void expect(TokenKind kind, const char* what) {
    if (peek().kind != kind) fail(std::string("expected ") + what, peek().position);
    ++next_;
  }
  static std::string describe(const Token& token) {
    return token.kind == TokenKind::End ? "end of filter" : "'" + token.text + "'";
  }

  /// Terms of one connective; a run of them needs one pair of parentheses in the ERP's syntax.
  static std::string joined(const std::vector<std::string>& terms, const char* connective) {
    if (terms.size() == 1) return terms.front();
    std::string result = "(" + terms.front();
    for (size_t i = 1; i < terms.size(); ++i)
      result += std::string(" ") + connective + " " + terms[i];
    return result + ")";
  }
  std::string orChain(int depth) {
    std::vector<std::string> terms{andChain(depth)};
    while (takeWord("or")) terms.push_back(andChain(depth));
    return joined(terms, "OR");
  }
  std::string andChain(int depth) {
    std::vector<std::string> terms{primary(depth)};
    while (takeWord("and")) terms.push_back(primary(depth));
    return joined(terms, "AND");
  }

  std::string primary(int depth) {
    if (depth > kMaxDepth) fail("parentheses nested too deep", peek().position);
    if (peek().kind == TokenKind::Open) {
      take();
      std::string inner = orChain(depth + 1);
      expect(TokenKind::Close, "')'");
      return inner;
    }
    if (peek().kind == TokenKind::Name && next_ + 1 < tokens_.size() &&
        tokens_[next_ + 1].kind == TokenKind::Open) {
      return function();
    }
    return comparison();
  }

  const Property& property(const Token& token) {
    const Property* found = set_.find(token.text);
    if (!found) fail("there is no property " + token.text, token.position);
    return *found;
  }

  bool isProperty(const Token& token) const {
    return token.kind == TokenKind::Name && token.text != "true" && token.text != "false" &&
           token.text != "null";
  }

  std::string comparison() {
    const Token left = take();
    const Token opToken = take();
    std::string op = opToken.kind == TokenKind::Name ? erpOperator(opToken.text) : "";
    if (op.empty()) fail("expected eq, ne, gt, ge, lt or le", opToken.position);
    const Token right = take();
    for (const Token* side : {&left, &right}) {
      if (side->kind != TokenKind::Name && side->kind != TokenKind::String &&
          side->kind != TokenKind::Number) {
        fail("expected a property or a literal", side->position);
      }
      if (side->kind == TokenKind::Name && !isProperty(*side)) {
        fail(side->text + " cannot be compared here", side->position);
      }
    }
    if (!isProperty(left) && !isProperty(right))
      fail("a comparison needs a property", left.position);
    if (isProperty(left) && isProperty(right)) return fields(left, op, right);
    if (isProperty(left)) return condition(property(left), op, right);
    return condition(property(right), mirrored(op), left);
  }

  std::string fields(const Token& left, const std::string& op, const Token& right) {
    const Property& a = property(left);
    const Property& b = property(right);
    if (edmType(*a.field) != edmType(*b.field) ||
        (a.field->type == FieldType::Boolean) != (b.field->type == FieldType::Boolean)) {
      fail(a.name + " and " + b.name + " are of different types", left.position);
    }
    return "(" + a.field->name + " " + op + " " + b.field->name + ")";
  }

  std::string condition(const Property& property, const std::string& op, const Token& literal) {
    return "(" + property.field->name + " " + op + " " + operand(property, literal) + ")";
  }

  std::string operand(const Property& property, const Token& literal) {
    const FieldDef& field = *property.field;
    const bool text = literal.kind == TokenKind::String;
    switch (field.type) {
      case FieldType::Text:
        if (text) return quoted(literal.text);
        break;
      case FieldType::Boolean:
        if (text && (literal.text == "Yes" || literal.text == "No")) {
          return literal.text == "Yes" ? "1" : "0";
        }
        fail(property.name + " compares with 'Yes' or 'No'", literal.position);
      case FieldType::Date:
        if (text && parseDate(literal.text) >= 0) return std::to_string(parseDate(literal.text));
        fail(property.name + " compares with a date such as '2010-07-01'", literal.position);
      default:
        if (!text) return literal.text;
        break;
    }
    fail(property.name + " cannot be compared with " + (text ? "a string" : "a number"),
         literal.position);
  }

  std::string function() {
    const Token name = take();
    take();  // the opening parenthesis
    const bool substring = name.text == "substringof";
    if (name.text != "startswith" && name.text != "endswith" && !substring) {
      fail("unknown function " + name.text, name.position);
    }
    const Token first = take();
    expect(TokenKind::Comma, "','");
    const Token second = take();
    expect(TokenKind::Close, "')'");
    const Token& subject = substring ? second : first;
    const Token& literal = substring ? first : second;
    if (!isProperty(subject)) fail(name.text + " needs a property", subject.position);
    if (literal.kind != TokenKind::String) fail(name.text + " needs a string", literal.position);
    const Property& target = property(subject);
    if (target.field->type != FieldType::Text) {
      fail(name.text + " needs a text property, not " + target.name, subject.position);
    }
    if (literal.text.find_first_of("%_") != std::string::npos) {
      fail(name.text + " cannot match % or _ exactly", literal.position);
    }
    if (takeWord("eq") && !takeWord("true"))
      fail("a function compares only with true", peek().position);
    const std::string pattern = name.text == "startswith" ? literal.text + "%"
                                : name.text == "endswith" ? "%" + literal.text
                                                          : "%" + literal.text + "%";
    return "(" + target.field->name + " LIKE " + quoted(pattern) + ")";
  }

  const PropertySet& set_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
};

}  // namespace

std::string translateFilter(const PropertySet& set, std::string_view filter) {
  return Translator(set, filter).translate();
}

}  // namespace erp::webapi
