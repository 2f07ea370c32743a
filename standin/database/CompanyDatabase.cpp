#include "standin/database/CompanyDatabase.h"

#include "standin/database/OwnerOnlyFile.h"
#include "standin/filter/Filter.h"

#include <SQLiteCpp/Transaction.h>

#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

namespace erp {
namespace {

std::string columnType(FieldType type) {
  switch (type) {
    case FieldType::Text:
      return "TEXT NOT NULL DEFAULT ''";
    case FieldType::Decimal:
      return "REAL NOT NULL DEFAULT 0";
    default:
      return "INTEGER NOT NULL DEFAULT 0";
  }
}

std::string quoted(const std::string& name) {
  return "\"" + name + "\"";
}

/// The table of a view: one column per field in field order, then the row version that
/// optimistic concurrency compares on update.
std::string createTableSql(const ViewDef& view) {
  std::string sql = "CREATE TABLE " + quoted(view.id) + " (";
  for (const FieldDef& field : view.fields) {
    sql += sqlColumn(field) + " " + columnType(field.type) + ", ";
  }
  sql += "_rev INTEGER NOT NULL DEFAULT 1";
  if (!view.keys.empty() && !view.singleRecord) {
    sql += ", PRIMARY KEY (";
    const KeyDef& primary = view.keys.front();
    for (size_t i = 0; i < primary.fields.size(); ++i) {
      if (i > 0) sql += ", ";
      sql += sqlColumn(*view.field(primary.fields[i]));
    }
    sql += ")";
  }
  return sql + ")";
}

std::string createIndexSql(const ViewDef& view, size_t keyNumber) {
  const KeyDef& key = view.keys[keyNumber];
  std::string sql = "CREATE INDEX " + quoted(view.id + "_key" + std::to_string(keyNumber)) +
                    " ON " + quoted(view.id) + " (";
  for (size_t i = 0; i < key.fields.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += sqlColumn(*view.field(key.fields[i]));
  }
  return sql + ")";
}

constexpr int kBusyTimeoutMs = 5000;

void configure(SQLite::Database& db) {
  db.exec("PRAGMA journal_mode=WAL");
  db.exec("PRAGMA synchronous=NORMAL");
  // Each checkpoint waits for the disk twice. Every commit of a record rewrites its pages in the
  // log, so at the default of 1,000 pages a run committing each record alone spent more time
  // waiting for checkpoints than converting; 10,000 pages (40 MB) makes them ten times rarer.
  db.exec("PRAGMA wal_autocheckpoint=10000");
  db.exec("PRAGMA foreign_keys=ON");
  db.setBusyTimeout(kBusyTimeoutMs);
}

/// What went wrong with a company file, with the system's reason where SQLite kept one (a full
/// disk shows only as an I/O error otherwise).
std::string openFailure(const std::filesystem::path& file, const SQLite::Exception& error,
                        sqlite3* handle) {
  std::string message =
      "The company database " + file.string() + " cannot be opened: " + error.what();
  const int systemError = handle ? sqlite3_system_errno(handle) : 0;
  if (systemError != 0) message += " (" + std::string(std::strerror(systemError)) + ")";
  return message + ".";
}

/// `file` as an SQLite URI, every byte that could be read as part of the URI's syntax escaped.
std::string fileUri(const std::filesystem::path& file, const std::string& query) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const unsigned char c : std::filesystem::absolute(file).string()) {
    if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
      uri += static_cast<char>(c);
    } else {
      uri += {'%', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return uri + "?" + query;
}

/// A connection that only reads. When the write-ahead log and its -shm index lie beside the
/// database (another connection is open, or a process was killed), the index is opened read-only
/// too: SQLite then reads the log itself instead of rebuilding the index in the file, so no byte
/// of any of the three changes. Without them SQLite must create both to read at all; that adds two
/// files and changes none. Closing a read-only connection never checkpoints the log.
SQLite::Database openReadOnly(const std::filesystem::path& file) {
  const int kFlags = SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX;
  // Opening reads nothing yet: the first read tells whether the file (and the index) can be used.
  auto opened = [](SQLite::Database db) {
    db.setBusyTimeout(kBusyTimeoutMs);
    db.exec("SELECT count(*) FROM sqlite_schema");
    return db;
  };
  const std::string path = file.string();
  if (std::filesystem::exists(path + "-wal") && std::filesystem::exists(path + "-shm")) {
    try {
      return opened(SQLite::Database(fileUri(file, "readonly_shm=1"), kFlags | SQLite::OPEN_URI));
    } catch (const SQLite::Exception&) {
      // The index cannot be read as it is (the last other connection may have closed in between
      // and removed it): read as every other reader does.
    }
  }
  return opened(SQLite::Database(path, kFlags));
}

SQLite::Database openCompanyFile(const std::filesystem::path& file, CompanyAccess access) {
  if (!std::filesystem::exists(file)) {
    throw std::runtime_error("Company database " + file.string() + " does not exist.");
  }
  std::optional<SQLite::Database> db;
  try {
    if (access == CompanyAccess::ReadOnly) {
      db.emplace(openReadOnly(file));
    } else {
      // A connection is only ever used by one thread at a time: SQLite's own locking of every
      // call is not needed.
      db.emplace(file.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
      configure(*db);
    }
  } catch (const SQLite::Exception& error) {
    throw std::runtime_error(openFailure(file, error, db ? db->getHandle() : nullptr));
  }
  return std::move(*db);
}

std::string savepoint(int level, const char* verb) {
  return std::string(verb) + " link_level" + std::to_string(level);
}

}  // namespace

void CompanyDatabase::create(const std::filesystem::path& file, const ViewCatalog& catalog) {
  if (std::filesystem::exists(file)) {
    throw std::runtime_error("Company database " + file.string() + " already exists.");
  }
  // A company's data is for the ERP's own processes only.
  createOwnerOnlyFile(file);
  SQLite::Database db(file.string(), SQLite::OPEN_READWRITE);
  configure(db);
  SQLite::Transaction transaction(db);
  for (const ViewDef& view : catalog.views()) {
    db.exec(createTableSql(view));
    for (size_t k = 1; k < view.keys.size(); ++k) db.exec(createIndexSql(view, k));
  }
  transaction.commit();
}

CompanyDatabase::CompanyDatabase(const std::filesystem::path& file, const ViewCatalog& catalog,
                                 CompanyAccess access)
    : file_(file), catalog_(catalog), db_(openCompanyFile(file, access)) {
  sqlite3_update_hook(
      db_.getHandle(),
      [](void* self, int, const char*, const char* table, sqlite3_int64) {
        auto* database = static_cast<CompanyDatabase*>(self);
        if (database->watched_.contains(std::string_view(table))) ++database->epoch_;
      },
      this);
}

CompanyDatabase::~CompanyDatabase() {
  sqlite3_update_hook(db_.getHandle(), nullptr, nullptr);
}

void CompanyDatabase::execute(const std::string& statement) {
  // An undone level may take back changed rows.
  if (statement.starts_with("ROLLBACK")) ++epoch_;
  control_.get(statement).exec();
  // A new transaction reads the newest state, which differs from what the last one read only
  // when another connection committed since.
  if (statement.starts_with("BEGIN") && othersCommitted()) ++epoch_;
}

bool CompanyDatabase::othersCommitted() {
  SQLite::Statement& query = control_.get("PRAGMA data_version");
  query.executeStep();
  const std::int64_t version = query.getColumn(0).getInt64();
  query.reset();
  const bool changed = version != dataVersion_;
  dataVersion_ = version;
  return changed;
}

int CompanyDatabase::beginTransaction() {
  // Taking the write lock at the start means a read inside the transaction can never fail busy
  // when it turns into a write.
  execute(level_ == 0 ? std::string("BEGIN IMMEDIATE") : savepoint(level_ + 1, "SAVEPOINT"));
  return ++level_;
}

void CompanyDatabase::commitTransaction() {
  if (level_ == 0) throw std::logic_error("There is no transaction to commit.");
  if (sqlite3_get_autocommit(db_.getHandle()) != 0) {
    level_ = 0;
    throw std::runtime_error(
        "The company database undid the transaction after an error; nothing of it was saved.");
  }
  try {
    execute(level_ == 1 ? std::string("COMMIT") : savepoint(level_, "RELEASE"));
  } catch (...) {
    if (sqlite3_get_autocommit(db_.getHandle()) == 0) db_.tryExec("ROLLBACK");
    level_ = 0;
    throw;
  }
  --level_;
}

void CompanyDatabase::rollbackTransaction() {
  if (level_ == 0) throw std::logic_error("There is no transaction to roll back.");
  if (sqlite3_get_autocommit(db_.getHandle()) != 0) {
    level_ = 0;  // undone by the database already
    return;
  }
  if (level_ == 1) {
    execute("ROLLBACK");
  } else {
    execute(savepoint(level_, "ROLLBACK TO"));
    execute(savepoint(level_, "RELEASE"));
  }
  --level_;
}

}  // namespace erp
