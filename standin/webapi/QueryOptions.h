#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace erp::webapi {

/// A request's query string, as name and value pairs (decoded), in the order given.
using QueryParameters = std::vector<std::pair<std::string, std::string>>;

/// The system query options a feed takes: `$top`, `$skip`, `$count=true`, `$select` and
/// `$filter`. There is no `$orderby`, `$expand` or `$batch`: feeds come in key order.
struct QueryOptions {
  std::optional<long long> top;
  long long skip = 0;
  bool count = false;
  std::vector<std::string> select;  ///< empty for every property
  std::string filter;               ///< empty for every record
};

/// The options of `parameters`; throws WebApiError (InvalidParameters) for an option the server
/// does not take, one given twice, or a malformed value. Parameters without `$` are the
/// caller's own and are left alone.
QueryOptions parseQueryOptions(const QueryParameters& parameters);

}  // namespace erp::webapi
