#pragma once

#include "standin/catalog/Value.h"
#include "standin/catalog/ViewDef.h"
#include "standin/database/CompanyDatabase.h"
#include "standin/database/ErrorList.h"
#include "standin/database/StatementCache.h"
#include "standin/database/Verifier.h"
#include "standin/database/WriteScope.h"

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace erp {

class KeysetBrowser;

/// A business view opened on a company database: a record buffer with put, verify, read,
/// browse, fetch, insert, update and delete, as the ERP's views offer them. A detail data source
/// composed with a header keeps its inserts, updates and deletes until the header is updated,
/// and then commits them in one transaction with the header.
class DataSource {
 public:
  DataSource(std::shared_ptr<CompanyDatabase> database, ErrorList& errors, bool readOnly,
             const std::string& viewId);
  ~DataSource();
  DataSource(const DataSource&) = delete;
  DataSource& operator=(const DataSource&) = delete;

  const ViewDef& view() const { return view_; }
  const std::string& description() const { return view_.description; }
  ErrorList& errors() const { return errors_; }
  bool readOnly() const { return readOnly_; }

  /// Composes `detail` with this header: the detail follows this data source's current record.
  void composeDetail(DataSource& detail);
  DataSource* header() const { return header_; }

  size_t fieldCount() const { return view_.fields.size(); }
  /// The field with this number (from 1); throws ErpError when there is none.
  const FieldDef& field(int number) const;
  /// The field with this name; throws ErpError when there is none.
  const FieldDef& field(const std::string& name) const;
  const Value& value(int number) const;
  std::string text(int number) const;
  /// Stores a value; with verification the ERP's checks run and may refuse it (ErpError).
  void put(int number, const Value& value, bool verify);
  /// Runs the field's verification on its current value (normalising it).
  void verify(int number);

  const std::vector<KeyDef>& keys() const { return view_.keys; }
  int keyNumber() const { return keyNumber_; }
  void setKeyNumber(int keyNumber);

  /// Blanks the record buffer (a detail keeps the key of its header's current record).
  void clear();
  /// Reads the record whose primary key fields were put; true when it exists.
  bool read();
  /// Number of records that satisfy the filter.
  std::int64_t count(const std::string& filter, int flags = 0);
  /// Positions before the first record of the filter, starting at the current key values.
  void browse(const std::string& filter, bool ascending = true);
  /// Fetches the next record of the browse; false when there is none.
  bool fetch(bool lock = false);

  /// True when the current record was changed since it was read or fetched.
  bool pendingChanges() const;
  /// True when inserts, updates or deletes are waiting for the header's update.
  bool detailChanges() const { return !pending_.empty(); }

  void insert();
  void update();
  void remove();
  int lastReturnCode() const { return lastReturnCode_; }

 private:
  struct PendingChange {
    enum Kind { Insert, Update, Delete } kind;
    std::vector<Value> values;
    std::vector<Value> original;  ///< of an update: the row as read; empty writes every column
    std::int64_t rev = 0;
  };

  /// Puts the message into the error list, sets the return code when given, and throws.
  [[noreturn]] void raise(const std::string& message, std::optional<int> returnCode = {});
  std::string keyText(const std::vector<Value>& values) const;
  std::string primaryKeyWhere() const;
  void bindPrimaryKey(SQLite::Statement& statement, int first,
                      const std::vector<Value>& values) const;
  bool loadByPrimaryKey();
  void takeRow(std::vector<Value> values, std::int64_t rev);
  void applyHeaderLink();
  void discardDetailChanges();
  PendingChange* findPending(const std::vector<Value>& values);
  void queue(PendingChange change);
  bool writeInsert(const std::vector<Value>& values);
  /// The columns where `values` differ from `original`; every column when `original` is empty.
  std::vector<size_t> changedColumns(const std::vector<Value>& values,
                                     const std::vector<Value>& original) const;
  SQLite::Statement& updateStatement(const std::vector<size_t>& columns);
  /// Writes `columns` of `values` into the record whose key `keyValues` hold, if it still has
  /// the row version `rev`.
  bool writeUpdate(const std::vector<Value>& values, const std::vector<size_t>& columns,
                   const std::vector<Value>& keyValues, std::int64_t rev);
  /// Keeps the value read of field `index` before a put changes it to `next`.
  void remember(size_t index, const Value& next);
  /// The fields whose value differs from the record read, in field order.
  std::vector<size_t> changedFields() const;
  /// The record as it was read.
  std::vector<Value> original() const;
  bool writeDelete(const std::vector<Value>& keyValues, std::int64_t rev);
  /// The statements a write of this view takes: one unless details have changes to write.
  WriteScope::Statements writeStatements() const;
  bool commitDetails();
  void buildSql();
  void requireWritable(const char* action);
  void requireCurrent(const char* action);
  void reportConflict();
  /// Runs a write of the record whose key is `key`; a refusal of the database itself is raised
  /// with its reason.
  void saving(const std::vector<Value>& key, const std::function<void()>& write);

  std::shared_ptr<CompanyDatabase> database_;
  ErrorList& errors_;
  bool readOnly_;
  const ViewDef& view_;
  Verifier verifier_;
  StatementCache statements_;
  std::vector<Value> values_;
  /// The values read of the fields changed since, by field index: a record is fetched far more
  /// often than it is changed, and a copy of every field per fetch would cost more than the rest.
  std::vector<std::pair<size_t, Value>> saved_;
  std::int64_t rev_ = 0;
  bool current_ = false;
  int keyNumber_ = 0;
  int lastReturnCode_ = 0;
  std::unique_ptr<KeysetBrowser> browser_;
  DataSource* header_ = nullptr;
  std::vector<DataSource*> details_;
  std::vector<std::pair<size_t, size_t>> headerLink_;  ///< detail field index -> header index
  std::vector<PendingChange> pending_;
  /// SQL of the record operations, built once per data source.
  std::string readSql_, insertSql_, deleteSql_;
  /// The condition of an update: the record's key and the row version it was read with.
  std::string updateWhere_;
  /// Update statements by the columns they write.
  std::map<std::vector<size_t>, std::unique_ptr<SQLite::Statement>> updates_;
};

}  // namespace erp
