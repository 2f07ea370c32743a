#pragma once

#include "standin/catalog/Value.h"
#include "standin/catalog/ViewDef.h"

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <vector>

namespace erp {

/// Binds a value to a placeholder (1-based).
void bindValue(SQLite::Statement& statement, int index, const Value& value);

/// Reads a column as the storage form of `field`.
Value columnValue(const SQLite::Column& column, const FieldDef& field);

/// The first `view.fields.size()` columns of the current row of `statement` as the view's
/// record: read straight from the row, as a browse reads thousands of them.
std::vector<Value> rowValues(SQLite::Statement& statement, const ViewDef& view);

}  // namespace erp
