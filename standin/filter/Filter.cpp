#include "standin/filter/Filter.h"

#include "standin/filter/FilterParser.h"
#include "standin/filter/FilterSql.h"

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
