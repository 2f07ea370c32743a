#pragma once

#include "host/webapi/ErpFilter.h"
#include "host/webapi/ViewLayouts.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host::webapi {

/// The view a filter selects from, and how the server names its fields.
struct FilterTarget {
  const ViewLayout& layout;
  const std::vector<std::string>& properties;  ///< by field number - 1
  /// Whether the server offers a property; empty when every property counts as offered.
  std::function<bool(const std::string& property)> offered{};
};

/// A filter as the server takes it.
struct ODataFilter {
  enum class Selects { Some, Every, None };
  Selects selects = Selects::Every;
  std::string text;  ///< the `$filter` of Some
  int depth = 0;     ///< the deepest parentheses of `text`
};

/// The longest `$filter` and the deepest parentheses the program sends: the common limits of
/// web servers on a URL's query, less room for the key the program adds to read one record.
inline constexpr size_t kMaxODataFilterLength = 1800;
inline constexpr int kMaxODataFilterDepth = 30;

/// Translates a browse filter in the ERP's syntax into an OData `$filter` that selects exactly
/// the same records. A filter the ERP itself would refuse is refused with the ERP's message; one
/// that cannot be translated exactly (a field the server does not offer, a date, a LIKE pattern
/// with `_` or a `%` inside it, fields of types the protocol cannot compare) is refused naming
/// the condition. Throws FilterRefusal.
ODataFilter TranslateFilter(std::string_view filter, const FilterTarget& target);

/// A text as an OData string literal: in single quotes, a quote doubled.
std::string ODataString(std::string_view text);

}  // namespace host::webapi
