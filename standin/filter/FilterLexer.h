#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace erp {

/// The kinds of lexical element in a browse filter.
enum class FilterTokenKind { Word, String, Operator, OpenParen, CloseParen, End };

/// One lexical element of a browse filter with its 0-based offset in the filter text.
struct FilterToken {
  FilterTokenKind kind = FilterTokenKind::End;
  std::string text;  ///< a string's value with its escapes resolved; an operator's spelling
  size_t position = 0;
};

/// Splits a browse filter into tokens, the last being End; throws FilterError.
std::vector<FilterToken> tokenizeFilter(std::string_view filter);

/// Tells whether `c` separates tokens without being one.
bool isFilterBlank(char c);

}  // namespace erp
