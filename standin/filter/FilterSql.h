#pragma once

#include "standin/catalog/ViewDef.h"
#include "standin/filter/Filter.h"
#include "standin/filter/FilterSyntax.h"

namespace erp {

/// The deepest parenthesis nesting written into SQL; the database's parser gives up near 90.
inline constexpr size_t kMaxSqlNesting = 64;

/// Resolves a parsed filter against `view` and writes it as fully parenthesised SQL with every
/// constant bound as a parameter; throws FilterError for unknown fields and mismatched types.
SqlFilter filterToSql(const ViewDef& view, const FilterChain& chain);

}  // namespace erp
