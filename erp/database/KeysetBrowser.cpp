#include "erp/database/KeysetBrowser.h"

#include "erp/database/SqlValues.h"

#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

#include <string>
#include <utility>

namespace erp {
namespace {

constexpr int kBatchSize = 512;

std::string tuple(const ViewDef& view, const std::vector<int>& fields, size_t count) {
  std::string text = "(";
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) text += ", ";
    text += sqlColumn(*view.field(fields[i]));
  }
  return text + ")";
}

std::string placeholders(size_t count) {
  std::string text = "(";
  for (size_t i = 0; i < count; ++i) text += i > 0 ? ", ?" : "?";
  return text + ")";
}

/// A batch of the walk read straight through SQLite's interface: a conversion reads every one of
/// a hundred columns of every record, and the wrapper's per-column objects cost more than that.
class BatchQuery {
 public:
  BatchQuery(SQLite::Database& db, const std::string& sql) : db_(db.getHandle()) {
    check(sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement_, nullptr));
  }
  ~BatchQuery() { sqlite3_finalize(statement_); }
  BatchQuery(const BatchQuery&) = delete;
  BatchQuery& operator=(const BatchQuery&) = delete;

  void bind(int index, const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      check(sqlite3_bind_text(statement_, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT));
    } else if (const auto* whole = std::get_if<std::int64_t>(&value)) {
      check(sqlite3_bind_int64(statement_, index, *whole));
    } else if (const auto* decimal = std::get_if<double>(&value)) {
      check(sqlite3_bind_double(statement_, index, *decimal));
    } else {
      check(sqlite3_bind_null(statement_, index));
    }
  }

  bool step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result != SQLITE_DONE) check(result);
    return false;
  }

  /// The current row: the view's fields in order, then the row version.
  KeysetBrowser::Row row(const ViewDef& view) const {
    KeysetBrowser::Row row;
    row.values.reserve(view.fields.size());
    int column = 0;
    for (const FieldDef& field : view.fields) {
      switch (field.type) {
        case FieldType::Text: {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
          const auto size = static_cast<size_t>(sqlite3_column_bytes(statement_, column));
          row.values.emplace_back(std::in_place_type<std::string>, text ? text : "", size);
          break;
        }
        case FieldType::Decimal:
          row.values.emplace_back(sqlite3_column_double(statement_, column));
          break;
        default:
          row.values.emplace_back(
              static_cast<std::int64_t>(sqlite3_column_int64(statement_, column)));
          break;
      }
      ++column;
    }
    row.rev = sqlite3_column_int64(statement_, column);
    return row;
  }

 private:
  void check(int result) const {
    if (result != SQLITE_OK) throw SQLite::Exception(db_, result);
  }

  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace

KeysetBrowser::KeysetBrowser(SQLite::Database& db, const ViewDef& view, SqlFilter filter,
                             std::vector<int> order, std::vector<Value> start, bool ascending)
    : db_(db),
      view_(view),
      filter_(std::move(filter)),
      order_(std::move(order)),
      start_(std::move(start)),
      ascending_(ascending) {}

bool KeysetBrowser::next(Row& row) {
  if (batch_.empty() && !exhausted_) loadBatch();
  if (batch_.empty()) return false;
  row = std::move(batch_.front());
  batch_.pop_front();
  return true;
}

void KeysetBrowser::loadBatch() {
  std::string sql = "SELECT ";
  for (const FieldDef& field : view_.fields) sql += sqlColumn(field) + ", ";
  sql += "_rev FROM \"" + view_.id + "\" WHERE ";
  if (!filter_.where.empty()) sql += "(" + filter_.where + ") AND ";
  const std::vector<Value>& bound = started_ ? last_ : start_;
  if (bound.empty()) {
    sql += "1";
  } else {
    const char* op = started_ ? (ascending_ ? " > " : " < ") : (ascending_ ? " >= " : " <= ");
    sql += tuple(view_, order_, bound.size()) + op + placeholders(bound.size());
  }
  sql += " ORDER BY ";
  for (size_t i = 0; i < order_.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += sqlColumn(*view_.field(order_[i])) + (ascending_ ? " ASC" : " DESC");
  }
  sql += " LIMIT " + std::to_string(kBatchSize);

  BatchQuery query(db_, sql);
  int index = 1;
  for (const Value& value : filter_.params) query.bind(index++, value);
  for (const Value& value : bound) query.bind(index++, value);

  int rows = 0;
  while (query.step()) {
    batch_.push_back(query.row(view_));
    ++rows;
  }
  started_ = true;
  if (rows < kBatchSize) exhausted_ = true;
  if (!batch_.empty()) {
    last_.clear();
    for (int number : order_)
      last_.push_back(batch_.back().values[static_cast<size_t>(number - 1)]);
  }
}

}  // namespace erp
