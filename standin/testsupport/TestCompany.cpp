#include "standin/testsupport/TestCompany.h"

#include "standin/database/SqlValues.h"
#include "standin/filter/Filter.h"

#include <SQLiteCpp/Statement.h>

#include <unistd.h>
#include <atomic>
#include <stdexcept>

namespace erp::testing {
namespace {

std::filesystem::path uniqueFolder() {
  static std::atomic<int> counter{0};
  auto folder = std::filesystem::temp_directory_path() /
                ("ordavel-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

const FieldDef& resolve(const ViewDef& view, const std::string& name) {
  const FieldDef* field =
      name.starts_with("#") ? view.field(std::stoi(name.substr(1))) : view.field(name);
  if (!field) throw std::invalid_argument("View " + view.id + " has no field " + name);
  return *field;
}

}  // namespace

TestCompany::TestCompany() : folder_(uniqueFolder()), file_(folder_ / "company.db") {
  CompanyDatabase::create(file_);
  database_ = std::make_shared<CompanyDatabase>(file_);
}

TestCompany::TestCompany(const std::filesystem::path& existingFile)
    : folder_(existingFile.parent_path()),
      file_(existingFile),
      database_(std::make_shared<CompanyDatabase>(existingFile)),
      ownsFolder_(false) {}

TestCompany::~TestCompany() {
  database_.reset();
  if (!ownsFolder_) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void TestCompany::insert(const std::string& viewId, const FieldValues& values) {
  const ViewDef& view = database_->catalog().get(viewId);
  std::string columns;
  std::string marks;
  for (const auto& [name, value] : values) {
    if (!columns.empty()) {
      columns += ", ";
      marks += ", ";
    }
    columns += sqlColumn(resolve(view, name));
    marks += "?";
  }
  SQLite::Statement statement(
      database_->sql(), "INSERT INTO \"" + view.id + "\" (" + columns + ") VALUES (" + marks + ")");
  int index = 1;
  for (const auto& entry : values) bindValue(statement, index++, entry.second);
  statement.exec();
}

std::unique_ptr<DataSource> TestCompany::open(const std::string& viewId, bool readOnly) {
  return std::make_unique<DataSource>(database_, errors_, readOnly, viewId);
}

void TestCompany::addTaxData() {
  insert("TX0002", {{"#1", "GST"}, {"#2", "Goods and Services Tax"}, {"#7", std::int64_t{0}}});
  insert("TX0002", {{"#1", "PST"}, {"#2", "Provincial Sales Tax"}, {"#7", std::int64_t{1}}});
  insert("TX0002", {{"#1", "HST"}, {"#2", "Harmonized Sales Tax"}, {"#7", std::int64_t{1}}});
  for (const char* authority : {"GST", "PST", "HST"}) {
    for (std::int64_t type : {1, 2}) {
      for (std::int64_t axis : {1, 2}) {
        for (std::int64_t taxClass : {1, 2, 3}) {
          insert("TX0001", {{"#1", authority},
                            {"#2", type},
                            {"#3", axis},
                            {"#4", taxClass},
                            {"#5", std::string(authority) + " class " + std::to_string(taxClass)}});
        }
      }
    }
  }
  // A class of one class type and axis only: sales item classes.
  insert("TX0001", {{"#1", "PST"},
                    {"#2", std::int64_t{1}},
                    {"#3", std::int64_t{2}},
                    {"#4", std::int64_t{4}},
                    {"#5", "PST sales item class 4"}});
  for (std::int64_t type : {1, 2}) {
    insert("TX0003", {{"#1", "OLD"},
                      {"#2", type},
                      {"#3", "GST and PST"},
                      {"AUTHORITY1", "GST"},
                      {"AUTHORITY2", "PST"}});
    insert("TX0003", {{"#1", "HST"}, {"#2", type}, {"#3", "HST"}, {"AUTHORITY1", "HST"}});
    insert("TX0003", {{"#1", "GAP"},
                      {"#2", type},
                      {"#3", "Second authority blank"},
                      {"AUTHORITY1", "GST"},
                      {"AUTHORITY3", "PST"}});
  }
  insert("CS0003", {{"#1", "CAD"}, {"#2", "Canadian Dollar"}});
  insert("CS0003", {{"#1", "USD"}, {"#2", "US Dollar"}});
}

}  // namespace erp::testing
