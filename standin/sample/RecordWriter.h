#pragma once

#include "standin/catalog/Value.h"
#include "standin/database/CompanyDatabase.h"

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace erp {

/// Inserts many records of one view through a statement prepared once; the caller holds the
/// transaction around the whole batch. A field that is not set for a record stays blank.
class RecordWriter {
 public:
  /// Prepares the insert for `viewId`; throws std::out_of_range when the view is unknown.
  RecordWriter(CompanyDatabase& database, const std::string& viewId);

  const ViewDef& view() const { return view_; }

  /// Sets a field of the next record by number (from 1); throws std::invalid_argument when the
  /// field does not exist, the value does not fit its type or a text is longer than the field.
  void set(int number, const Value& value);
  /// Sets a field of the next record by name; throws as the numbered form does.
  void set(const std::string& name, const Value& value);
  /// The number of the named field; throws std::invalid_argument when the view has none.
  int number(const std::string& name) const;
  /// Whether the view has a field of this name.
  bool hasField(const std::string& name) const { return numbers_.contains(name); }
  /// The value the next record has so far in the field with this number.
  const Value& value(int number) const;

  /// Inserts the record and blanks the buffer for the next one; throws std::runtime_error naming
  /// the view and the key when the insert fails (a duplicate key, for example).
  void write();
  /// How many records this writer has inserted.
  std::int64_t written() const { return written_; }

 private:
  const FieldDef& fieldAt(int number) const;
  std::string keyText() const;

  const ViewDef& view_;
  SQLite::Statement insert_;
  std::unordered_map<std::string, int> numbers_;
  std::vector<Value> blank_;
  std::vector<Value> values_;
  std::int64_t written_ = 0;
};

}  // namespace erp
