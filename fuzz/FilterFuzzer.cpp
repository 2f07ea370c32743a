#include "standin/filter/Filter.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

erp::FieldDef field(int number, const char* name, erp::FieldType type, int size) {
  erp::FieldDef field;
  field.number = number;
  field.name = name;
  field.type = type;
  field.size = size;
  return field;
}

erp::ViewDef customerView() {
  erp::ViewDef view;
  view.id = "AR0024";
  view.fields = {
      field(1, "IDCUST", erp::FieldType::Text, 12),
      field(2, "NAMECUST", erp::FieldType::Text, 60),
      field(3, "TTYPE", erp::FieldType::Int16, 2),
      field(4, "AMTCRLIMT", erp::FieldType::Decimal, 10),
      field(5, "SWACTV", erp::FieldType::Boolean, 2),
      field(6, "DATESTART", erp::FieldType::Date, 4),
  };
  return view;
}

[[noreturn]] void violated(const char* what, std::string_view detail) {
  std::fprintf(stderr, "%s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}

// The view and a small table for it; every compiled filter must run against the table.
class Target {
 public:
  Target() : view_(customerView()) {
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK) violated("open", sqlite3_errmsg(db_));
    exec(
        "CREATE TABLE ARCUS (IDCUST TEXT PRIMARY KEY, NAMECUST TEXT, TTYPE INTEGER, "
        "AMTCRLIMT REAL, SWACTV INTEGER, DATESTART INTEGER);"
        "INSERT INTO ARCUS VALUES ('1000', 'Acme', 1, 10.5, 1, 20240101),"
        "('2000', 'Say \"Hi\"', 2, -5, 0, 0), ('A*B', 'C:\\', 1, 0, 1, 20241231);");
  }
  ~Target() { sqlite3_close(db_); }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  void check(std::string_view filter) {
    erp::SqlFilter sql;
    try {
      sql = erp::compileFilter(view_, filter);
    } catch (const erp::FilterError& error) {
      checkError(filter, error);
      return;
    }
    checkWhere(filter, sql);
    run(sql);
  }

 private:
  void exec(const char* statement) {
    if (sqlite3_exec(db_, statement, nullptr, nullptr, nullptr) != SQLITE_OK) {
      violated("set-up", sqlite3_errmsg(db_));
    }
  }

  static void checkError(std::string_view filter, const erp::FilterError& error) {
    if (error.position() > filter.size()) violated("position past the end", error.what());
    std::string suffix = " at position " + std::to_string(error.position()) + ".";
    if (!std::string_view(error.what()).ends_with(suffix)) violated("message", error.what());
  }

  // Constants travel only as parameters, so the SQL holds nothing but column names, keywords,
  // operators, parentheses and placeholders.
  static void checkWhere(std::string_view filter, const erp::SqlFilter& sql) {
    bool blank = filter.find_first_not_of(" \t\r\n") == std::string_view::npos;
    if (blank != sql.where.empty()) violated("filter without condition", filter);
    size_t placeholders = 0;
    for (char c : sql.where) {
      if (c == '?') {
        ++placeholders;
      } else if (!(c >= 'A' && c <= 'Z') &&
                 std::string_view(" ()\"=<>").find(c) == std::string_view::npos) {
        violated("unexpected character in SQL", sql.where);
      }
    }
    if (placeholders != sql.params.size()) violated("placeholder count", sql.where);
  }

  void run(const erp::SqlFilter& sql) {
    std::string query = "SELECT IDCUST FROM ARCUS";
    if (!sql.where.empty()) query += " WHERE " + sql.where;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, query.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      violated(sqlite3_errmsg(db_), query);
    }
    for (size_t i = 0; i < sql.params.size(); ++i) {
      int index = static_cast<int>(i + 1);
      const erp::Value& value = sql.params[i];
      if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        sqlite3_bind_int64(statement, index, *whole);
      } else if (const auto* decimal = std::get_if<double>(&value)) {
        sqlite3_bind_double(statement, index, *decimal);
      } else if (const auto* text = std::get_if<std::string>(&value)) {
        sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                          SQLITE_TRANSIENT);
      } else {
        violated("empty parameter", query);
      }
    }
    int step = SQLITE_ROW;
    while (step == SQLITE_ROW) step = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE) violated(sqlite3_errmsg(db_), query);
  }

  erp::ViewDef view_;
  sqlite3* db_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Target target;
  target.check(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
