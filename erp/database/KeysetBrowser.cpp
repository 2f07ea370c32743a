#include "erp/database/KeysetBrowser.h"

#include "erp/database/SqlValues.h"

#include <SQLiteCpp/Statement.h>

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

  SQLite::Statement query(db_, sql);
  int index = 1;
  for (const Value& value : filter_.params) bindValue(query, index++, value);
  for (const Value& value : bound) bindValue(query, index++, value);

  int rows = 0;
  while (query.executeStep()) {
    Row row;
    row.values.reserve(view_.fields.size());
    for (size_t i = 0; i < view_.fields.size(); ++i) {
      row.values.push_back(columnValue(query.getColumn(static_cast<int>(i)), view_.fields[i]));
    }
    row.rev = query.getColumn(static_cast<int>(view_.fields.size())).getInt64();
    batch_.push_back(std::move(row));
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
