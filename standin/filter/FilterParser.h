#pragma once

#include "standin/filter/FilterSyntax.h"

#include <string_view>

namespace erp {

/// The deepest nesting of parentheses that a filter may use.
inline constexpr int kMaxFilterNesting = 64;

/// The most conditions one filter may hold, which keeps its SQL within the database's limits.
inline constexpr size_t kMaxFilterConditions = 500;

/// Parses a browse filter into its syntax tree without looking at any view; throws FilterError.
FilterChain parseFilter(std::string_view filter);

}  // namespace erp
