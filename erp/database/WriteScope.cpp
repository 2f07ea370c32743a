#include "erp/database/WriteScope.h"

#include <sqlite3.h>

namespace erp {

WriteScope::WriteScope(SQLite::Database& db)
    : db_(db), nested_(sqlite3_get_autocommit(db.getHandle()) == 0) {
  db_.exec(nested_ ? "SAVEPOINT erp_write" : "BEGIN IMMEDIATE");
}

WriteScope::~WriteScope() {
  if (ended_) return;
  try {
    if (!nested_) {
      db_.exec("ROLLBACK");
    } else if (sqlite3_get_autocommit(db_.getHandle()) == 0) {
      db_.exec("ROLLBACK TO erp_write");
      db_.exec("RELEASE erp_write");
    }
  } catch (...) {
    // The database undid the transaction itself after an error; there is nothing left to undo.
  }
}

void WriteScope::commit() {
  db_.exec(nested_ ? "RELEASE erp_write" : "COMMIT");
  ended_ = true;
}

}  // namespace erp
