#include "standin/database/SqlValues.h"

#include <string>

namespace erp {

void bindValue(SQLite::Statement& statement, int index, const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    statement.bind(index, *text);
  } else if (const auto* whole = std::get_if<std::int64_t>(&value)) {
    statement.bind(index, static_cast<int64_t>(*whole));
  } else if (const auto* decimal = std::get_if<double>(&value)) {
    statement.bind(index, *decimal);
  } else {
    statement.bind(index);
  }
}

Value columnValue(const SQLite::Column& column, const FieldDef& field) {
  switch (field.type) {
    case FieldType::Text:
      return column.getString();
    case FieldType::Decimal:
      return column.getDouble();
    default:
      return static_cast<std::int64_t>(column.getInt64());
  }
}

std::vector<Value> rowValues(SQLite::Statement& statement, const ViewDef& view) {
  std::vector<Value> values;
  values.reserve(view.fields.size());
  for (size_t i = 0; i < view.fields.size(); ++i) {
    values.push_back(columnValue(statement.getColumn(static_cast<int>(i)), view.fields[i]));
  }
  return values;
}

}  // namespace erp
