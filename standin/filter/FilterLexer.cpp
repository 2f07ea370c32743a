#include "standin/filter/FilterLexer.h"

#include "standin/filter/FilterMessage.h"

#include <string>

namespace erp {
namespace {

bool endsWord(char c) {
  switch (c) {
    case '(':
    case ')':
    case '"':
    case '=':
    case '!':
    case '<':
    case '>':
      return true;
    default:
      return isFilterBlank(c);
  }
}

// A backslash escapes only a double quote; every other backslash is kept, which is why the
// program puts a blank after a value that ends with one.
// On return `i` is just past the closing quote.
FilterToken readString(std::string_view filter, size_t& i) {
  size_t start = i;
  FilterToken token{FilterTokenKind::String, {}, start};
  ++i;
  while (i < filter.size()) {
    char c = filter[i];
    if (c == '\\' && i + 1 < filter.size() && filter[i + 1] == '"') {
      token.text += '"';
      i += 2;
    } else if (c == '"') {
      ++i;
      return token;
    } else {
      token.text += c;
      ++i;
    }
  }
  throwFilterError("Unterminated string", start);
}

FilterToken readOperator(std::string_view filter, size_t start) {
  char c = filter[start];
  bool equalsFollows = start + 1 < filter.size() && filter[start + 1] == '=';
  if (c == '=') return {FilterTokenKind::Operator, "=", start};
  if (c == '!' && equalsFollows) return {FilterTokenKind::Operator, "!=", start};
  if (c == '!') {
    throwFilterError("Unexpected character !", start);
  }
  std::string spelling(1, c);
  if (equalsFollows) spelling += '=';
  return {FilterTokenKind::Operator, spelling, start};
}

}  // namespace

bool isFilterBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::vector<FilterToken> tokenizeFilter(std::string_view filter) {
  std::vector<FilterToken> tokens;
  size_t i = 0;
  while (i < filter.size()) {
    char c = filter[i];
    if (isFilterBlank(c)) {
      ++i;
    } else if (c == '(') {
      tokens.push_back({FilterTokenKind::OpenParen, "(", i++});
    } else if (c == ')') {
      tokens.push_back({FilterTokenKind::CloseParen, ")", i++});
    } else if (c == '"') {
      tokens.push_back(readString(filter, i));
    } else if (c == '=' || c == '!' || c == '<' || c == '>') {
      tokens.push_back(readOperator(filter, i));
      i += tokens.back().text.size();
    } else {
      size_t start = i;
      while (i < filter.size() && !endsWord(filter[i])) ++i;
      tokens.push_back(
          {FilterTokenKind::Word, std::string(filter.substr(start, i - start)), start});
    }
  }
  tokens.push_back({FilterTokenKind::End, {}, filter.size()});
  return tokens;
}

}  // namespace erp
