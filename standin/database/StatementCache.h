#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <map>
#include <memory>
#include <string>

namespace erp {

/// Prepared statements kept by their SQL text, so that a statement run once per record is
/// prepared only once. A statement handed out is reset and has no bindings.
class StatementCache {
 public:
  explicit StatementCache(SQLite::Database& db) : db_(db) {}

  SQLite::Statement& get(const std::string& sql) {
    std::unique_ptr<SQLite::Statement>& cached = statements_[sql];
    if (!cached) {
      cached = std::make_unique<SQLite::Statement>(db_, sql);
    } else {
      cached->reset();
      cached->clearBindings();
    }
    return *cached;
  }

 private:
  SQLite::Database& db_;
  std::map<std::string, std::unique_ptr<SQLite::Statement>> statements_;
};

}  // namespace erp
