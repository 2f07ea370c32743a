#pragma once

#include "standin/catalog/Value.h"
#include "standin/database/CompanyDatabase.h"
#include "standin/database/ErpDataSource.h"
#include "standin/database/ErrorList.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace erp::testing {

/// A field given by name, or by number written as "#7".
using FieldValues = std::vector<std::pair<std::string, Value>>;

/// A company database in a fresh temporary folder, removed again on destruction.
class TestCompany {
 public:
  TestCompany();
  /// A company whose database file already exists (a site's company); nothing is removed.
  explicit TestCompany(const std::filesystem::path& existingFile);
  ~TestCompany();

  const std::filesystem::path& folder() const { return folder_; }
  const std::filesystem::path& file() const { return file_; }
  std::shared_ptr<CompanyDatabase> database() const { return database_; }
  ErrorList& errors() { return errors_; }

  /// Inserts one record directly (no verification); unnamed fields stay blank.
  void insert(const std::string& viewId, const FieldValues& values);
  /// Opens a data source on the company.
  std::unique_ptr<DataSource> open(const std::string& viewId, bool readOnly = false);

  /// Adds a small but complete set of tax data: authorities GST (no tax included), PST and HST
  /// (tax included allowed); classes 1 to 3 for each authority, type and axis, and PST class 4
  /// for sales (type 1) item (axis 2) classes only; sales (1) and purchases (2) groups "OLD"
  /// (GST, PST), "HST" (HST) and "GAP" (GST, blank, PST); currencies CAD and USD.
  void addTaxData();

 private:
  std::filesystem::path folder_;
  std::filesystem::path file_;
  std::shared_ptr<CompanyDatabase> database_;
  ErrorList errors_;
  bool ownsFolder_ = true;
};

}  // namespace erp::testing
