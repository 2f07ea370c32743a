#pragma once

#include "standin/catalog/ViewCatalog.h"
#include "standin/database/StatementCache.h"

#include <SQLiteCpp/Database.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace erp {

/// Whether a connection may change the company's data or only reads it.
enum class CompanyAccess { ReadWrite, ReadOnly };

/// One company's data: a SQLite file (WAL) with one table per view of the catalog.
class CompanyDatabase {
 public:
  /// Creates a new, empty company database at `file` with a table for every view.
  /// Throws std::runtime_error when the file already exists or cannot be created.
  static void create(const std::filesystem::path& file,
                     const ViewCatalog& catalog = ViewCatalog::standard());

  /// Opens an existing company database; throws std::runtime_error when it cannot. A read-only
  /// connection refuses every change and writes no byte of the database, its log or its index,
  /// not even when it closes last after a process that was killed.
  explicit CompanyDatabase(const std::filesystem::path& file,
                           const ViewCatalog& catalog = ViewCatalog::standard(),
                           CompanyAccess access = CompanyAccess::ReadWrite);
  ~CompanyDatabase();
  CompanyDatabase(const CompanyDatabase&) = delete;
  CompanyDatabase& operator=(const CompanyDatabase&) = delete;

  SQLite::Database& sql() { return db_; }
  /// Runs a statement without result, prepared once for the connection: the statements that
  /// begin, end and nest transactions, run for every record.
  void execute(const std::string& statement);

  /// Starts a transaction that takes the write lock at once or, when one is open, a savepoint
  /// inside it; returns the new level, 1 for the outermost. Throws SQLite::Exception when the
  /// database refuses (it stayed locked).
  int beginTransaction();
  /// Ends the innermost level keeping its changes: into the level around it, or for good at the
  /// outermost. A commit that fails undoes the whole transaction and throws.
  void commitTransaction();
  /// Ends the innermost level undoing its changes.
  void rollbackTransaction();
  /// Number of levels open; 0 outside a transaction.
  int transactionLevel() const { return level_; }

  /// A number that changes whenever what this connection reads of a watched table may have
  /// changed: a transaction started after another connection committed, a level undone, a row
  /// of the table changed through this connection. While a transaction is open nothing else can
  /// change them (it holds the write lock), so a look-up made with the same number still holds.
  std::uint64_t readEpoch() const { return epoch_; }
  /// Counts changes to rows of `table` made through this connection in readEpoch.
  void watchTable(const std::string& table) { watched_.insert(table); }
  const ViewCatalog& catalog() const { return catalog_; }
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  const ViewCatalog& catalog_;
  SQLite::Database db_;
  StatementCache control_{db_};
  /// Whether another connection committed since the last call (the first call says yes).
  bool othersCommitted();

  int level_ = 0;
  std::uint64_t epoch_ = 0;
  std::int64_t dataVersion_ = -1;
  std::set<std::string, std::less<>> watched_;
};

}  // namespace erp
