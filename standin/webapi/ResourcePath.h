#pragma once

#include "standin/catalog/Value.h"
#include "standin/webapi/EntityModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace erp::webapi {

/// Where every resource of the server lives.
inline constexpr std::string_view kRootPath = "/Sage300WebApi/v1.0/-/";

/// What a request's path names: `/Sage300WebApi/v1.0/-/{COMPANY}/{MODULE}/{Resource}`, where the
/// resource is an entity set, an entity set with a key in parentheses, `$metadata`, or nothing
/// (the module's service document).
struct ResourcePath {
  std::string company;
  std::string module;              ///< upper case
  std::string resource;            ///< "", "$metadata" or an entity set's name
  std::optional<std::string> key;  ///< the text between the key's parentheses
};

/// Splits a request path; throws WebApiError (404) for a path outside the server's resources.
ResourcePath parsePath(std::string_view path);

/// The values of the set's key fields, in key order, from a key written as a single literal
/// (`'1200'`, for a one-field key) or as named literals (`Name1='A', Name2=3`, in any order).
/// String literals are single-quoted, with `''` for a quote. Throws WebApiError
/// (InvalidEntityKey) naming what is wrong.
std::vector<Value> parseKey(const PropertySet& set, const std::string& setName,
                            std::string_view text);

}  // namespace erp::webapi
