#pragma once

#include "standin/catalog/Value.h"
#include "standin/catalog/ViewDef.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace erp {

/// A browse filter that could not be understood; `position` is the 0-based offset of the fault.
class FilterError : public std::runtime_error {
 public:
  FilterError(const std::string& message, size_t position)
      : std::runtime_error(message), position_(position) {}
  size_t position() const { return position_; }

 private:
  size_t position_;
};

/// A filter compiled to a parameterised SQL condition over the view's table.
struct SqlFilter {
  std::string where;          ///< empty when the filter is empty (every record)
  std::vector<Value> params;  ///< bound to the `?` placeholders in order
};

/// The SQL name of a view field's column (the field name, double-quoted).
std::string sqlColumn(const FieldDef& field);

/// Compiles a browse filter in the ERP's syntax for `view`; throws FilterError.
SqlFilter compileFilter(const ViewDef& view, std::string_view filter);

}  // namespace erp
