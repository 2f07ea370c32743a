#pragma once

#include "erp/catalog/ViewCatalog.h"

#include <SQLiteCpp/Database.h>

#include <filesystem>
#include <memory>

namespace erp {

/// One company's data: a SQLite file (WAL) with one table per view of the catalog.
class CompanyDatabase {
 public:
  /// Creates a new, empty company database at `file` with a table for every view.
  /// Throws std::runtime_error when the file already exists or cannot be created.
  static void create(const std::filesystem::path& file,
                     const ViewCatalog& catalog = ViewCatalog::standard());

  /// Opens an existing company database; throws std::runtime_error when it cannot.
  explicit CompanyDatabase(const std::filesystem::path& file,
                           const ViewCatalog& catalog = ViewCatalog::standard());

  SQLite::Database& sql() { return db_; }
  const ViewCatalog& catalog() const { return catalog_; }
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  const ViewCatalog& catalog_;
  SQLite::Database db_;
};

}  // namespace erp
