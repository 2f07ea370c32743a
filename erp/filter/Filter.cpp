#include "erp/filter/Filter.h"

#include "erp/filter/FilterParser.h"
#include "erp/filter/FilterSql.h"

namespace erp {

std::string sqlColumn(const FieldDef& field) {
  std::string column = "\"";
  for (char c : field.name) {
    if (c == '"') column += '"';
    column += c;
  }
  return column + '"';
}

SqlFilter compileFilter(const ViewDef& view, std::string_view filter) {
  return filterToSql(view, parseFilter(filter));
}

}  // namespace erp
