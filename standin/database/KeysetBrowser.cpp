#include "standin/database/KeysetBrowser.h"

#include "standin/database/SqlValues.h"

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

  /// Puts the current row into `row`: the view's fields in order, then the row version. The
  /// values `row` held keep their storage where the type is the same.
  void fill(const ViewDef& view, KeysetBrowser::Row& row) const {
    row.values.resize(view.fields.size());
    int column = 0;
    for (const FieldDef& field : view.fields) {
      Value& value = row.values[static_cast<size_t>(column)];
      switch (field.type) {
        case FieldType::Text: {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
          const auto size = static_cast<size_t>(sqlite3_column_bytes(statement_, column));
          if (auto* held = std::get_if<std::string>(&value)) {
            held->assign(text ? text : "", size);
          } else {
            value.emplace<std::string>(text ? text : "", size);
          }
          break;
        }
        case FieldType::Decimal:
          value = sqlite3_column_double(statement_, column);
          break;
        default:
          value = static_cast<std::int64_t>(sqlite3_column_int64(statement_, column));
          break;
      }
      ++column;
    }
    row.rev = sqlite3_column_int64(statement_, column);
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
  if (used_ == filled_ && !exhausted_) loadBatch();
  if (used_ == filled_) return false;
  std::swap(row, batch_[used_++]);
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

  used_ = 0;
  filled_ = 0;
  while (query.step()) {
    if (filled_ == batch_.size()) batch_.emplace_back();
    query.fill(view_, batch_[filled_++]);
  }
  started_ = true;
  if (filled_ < static_cast<size_t>(kBatchSize)) exhausted_ = true;
  if (filled_ > 0) {
    last_.clear();
    for (int number : order_) {
      last_.push_back(batch_[filled_ - 1].values[static_cast<size_t>(number - 1)]);
    }
  }
}

}  // namespace erp
