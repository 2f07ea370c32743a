#include "standin/database/WriteScope.h"

#include <sqlite3.h>

namespace erp {
namespace {

bool inTransaction(CompanyDatabase& database) {
  return sqlite3_get_autocommit(database.sql().getHandle()) == 0;
}

}  // namespace

WriteScope::WriteScope(CompanyDatabase& database, Statements statements)
    : database_(database),
      nested_(inTransaction(database)),
      savepoint_(nested_ && statements == Statements::Several) {
  if (!nested_) {
    database_.execute("BEGIN IMMEDIATE");
  } else if (savepoint_) {
    database_.execute("SAVEPOINT erp_write");
  }
}

WriteScope::~WriteScope() {
  if (ended_) return;
  try {
    if (!nested_) {
      database_.execute("ROLLBACK");
    } else if (savepoint_ && inTransaction(database_)) {
      database_.execute("ROLLBACK TO erp_write");
      database_.execute("RELEASE erp_write");
    }
  } catch (...) {
    // The database undid the transaction itself after an error; there is nothing left to undo.
  }
}

void WriteScope::commit() {
  if (!nested_) {
    database_.execute("COMMIT");
  } else if (savepoint_) {
    database_.execute("RELEASE erp_write");
  }
  ended_ = true;
}

}  // namespace erp
