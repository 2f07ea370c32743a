#pragma once

#include "standin/webapi/EntityModel.h"

#include <string>
#include <string_view>

namespace erp::webapi {

/// Translates a `$filter` over the properties of `set` into the ERP's browse-filter language,
/// so that the view's own browse selects the records and key ranges use its indexes.
///
/// Taken: comparisons `eq ne gt ge lt le` between a property and a literal (either side) or two
/// properties of one kind, `and`, `or`, parentheses, and `startswith(P,'x')`, `endswith(P,'x')`,
/// `substringof('x',P)` on text properties, optionally followed by `eq true`. Literals are
/// single-quoted strings (`''` is a quote) and decimal numbers; a Yes/No property compares with
/// 'Yes' or 'No', a date with 'YYYY-MM-DD'. The result is fully parenthesised, so the ERP's
/// left-to-right evaluation gives OData's precedence (`and` before `or`). Anything else, and a
/// text function whose literal holds % or _ (which the ERP's patterns would take as wildcards),
/// throws WebApiError (InvalidParameters) saying what and where.
std::string translateFilter(const PropertySet& set, std::string_view filter);

}  // namespace erp::webapi
