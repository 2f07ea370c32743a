#pragma once

#include "standin/catalog/Value.h"
#include "standin/catalog/ViewDef.h"
#include "standin/filter/Filter.h"

#include <SQLiteCpp/Database.h>

#include <cstdint>
#include <vector>

namespace erp {

/// Walks the records of a filter in key order in small batches, continuing after the last key
/// seen, so that memory stays flat and updates between fetches cannot disturb the walk.
class KeysetBrowser {
 public:
  struct Row {
    std::vector<Value> values;
    std::int64_t rev = 0;
  };

  /// `order` lists the field numbers of the walk's order (unique as a whole); the walk starts at
  /// the first record whose first `start.size()` order fields are at or after `start`.
  KeysetBrowser(SQLite::Database& db, const ViewDef& view, SqlFilter filter, std::vector<int> order,
                std::vector<Value> start, bool ascending);

  /// The next record in place of `row`, or false (and `row` untouched) when the walk is over.
  /// The storage `row` held is kept for a later record: a walk reads a hundred fields of every
  /// record, and reusing their buffers saves an allocation per field.
  bool next(Row& row);

 private:
  void loadBatch();

  SQLite::Database& db_;
  const ViewDef& view_;
  SqlFilter filter_;
  std::vector<int> order_;
  std::vector<Value> start_;
  bool ascending_;
  bool started_ = false;
  bool exhausted_ = false;
  std::vector<Value> last_;
  std::vector<Row> batch_;  ///< rows read; the first `used_` of `filled_` handed out
  size_t used_ = 0;
  size_t filled_ = 0;
};

}  // namespace erp
