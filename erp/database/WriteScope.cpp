#include "erp/database/WriteScope.h"

#include <sqlite3.h>

namespace erp {
namespace {

bool inTransaction(CompanyDatabase& database) {
  return sqlite3_get_autocommit(database.sql().getHandle()) == 0;
}

}  // namespace

WriteScope::WriteScope(CompanyDatabase& database)
    : database_(database), nested_(inTransaction(database)) {
  database_.execute(nested_ ? "SAVEPOINT erp_write" : "BEGIN IMMEDIATE");
}

WriteScope::~WriteScope() {
  if (ended_) return;
  try {
    if (!nested_) {
      database_.execute("ROLLBACK");
    } else if (inTransaction(database_)) {
      database_.execute("ROLLBACK TO erp_write");
      database_.execute("RELEASE erp_write");
    }
  } catch (...) {
    // The database undid the transaction itself after an error; there is nothing left to undo.
  }
}

void WriteScope::commit() {
  database_.execute(nested_ ? "RELEASE erp_write" : "COMMIT");
  ended_ = true;
}

}  // namespace erp
