#pragma once

#include "erp/catalog/Value.h"
#include "erp/catalog/ViewDef.h"

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

namespace erp {

/// Binds a value to a placeholder (1-based).
void bindValue(SQLite::Statement& statement, int index, const Value& value);

/// Reads a column as the storage form of `field`.
Value columnValue(const SQLite::Column& column, const FieldDef& field);

}  // namespace erp
