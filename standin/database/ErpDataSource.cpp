#include "standin/database/ErpDataSource.h"

#include "standin/database/ErpError.h"
#include "standin/database/KeysetBrowser.h"
#include "standin/database/SqlValues.h"
#include "standin/database/ValueText.h"
#include "standin/filter/Filter.h"

#include "standin/database/WriteScope.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace erp {
namespace {

std::vector<Value> blankRecord(const ViewDef& view) {
  std::vector<Value> values;
  values.reserve(view.fields.size());
  for (const FieldDef& field : view.fields) values.push_back(blankValue(field));
  return values;
}

std::string quotedTable(const ViewDef& view) {
  return "\"" + view.id + "\"";
}

}  // namespace

DataSource::DataSource(std::shared_ptr<CompanyDatabase> database, ErrorList& errors, bool readOnly,
                       const std::string& viewId)
    : database_(std::move(database)),
      errors_(errors),
      readOnly_(readOnly),
      view_(database_->catalog().get(viewId)),
      verifier_(*database_),
      statements_(database_->sql()),
      values_(blankRecord(view_)) {
  buildSql();
}

void DataSource::buildSql() {
  std::string columns;
  std::string marks;
  for (const FieldDef& def : view_.fields) {
    if (def.number > 1) {
      columns += ", ";
      marks += ", ";
    }
    columns += sqlColumn(def);
    marks += "?";
  }
  const std::string table = quotedTable(view_);
  const std::string byKey = view_.singleRecord ? "" : " WHERE " + primaryKeyWhere();
  readSql_ = "SELECT " + columns + ", _rev FROM " + table + byKey + " LIMIT 1";
  insertSql_ = "INSERT OR IGNORE INTO " + table + " (" + columns + ") VALUES (" + marks + ")";
  updateWhere_ = (view_.singleRecord ? " WHERE " : byKey + " AND ") + "_rev = ?";
  if (!view_.singleRecord) deleteSql_ = "DELETE FROM " + table + byKey + " AND _rev = ?";
}

DataSource::~DataSource() {
  if (header_) {
    auto& siblings = header_->details_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (DataSource* detail : details_) detail->header_ = nullptr;
}

void DataSource::raise(const std::string& message, std::optional<int> returnCode) {
  if (returnCode) lastReturnCode_ = *returnCode;
  errors_.add(kError, message);
  throw ErpError(message);
}

void DataSource::composeDetail(DataSource& detail) {
  if (!detail.view_.composition || detail.view_.composition->headerView != view_.id) {
    raise("View " + detail.view_.id + " cannot be composed with view " + view_.id + ".");
  }
  detail.header_ = this;
  detail.headerLink_.clear();
  for (int number : view_.keys.front().fields) {
    const FieldDef& headerField = *view_.field(number);
    const FieldDef* detailField = detail.view_.field(headerField.name);
    detail.headerLink_.emplace_back(static_cast<size_t>(detailField->number - 1),
                                    static_cast<size_t>(number - 1));
  }
  details_.push_back(&detail);
}

const FieldDef& DataSource::field(int number) const {
  const FieldDef* found = view_.field(number);
  if (!found) {
    const_cast<DataSource*>(this)->raise("View " + view_.id + " has no field number " +
                                         std::to_string(number) + ".");
  }
  return *found;
}

const FieldDef& DataSource::field(const std::string& name) const {
  const FieldDef* found = view_.field(name);
  if (!found) {
    const_cast<DataSource*>(this)->raise("View " + view_.id + " has no field named " + name + ".");
  }
  return *found;
}

const Value& DataSource::value(int number) const {
  return values_[static_cast<size_t>(field(number).number - 1)];
}

std::string DataSource::text(int number) const {
  return valueText(value(number));
}

void DataSource::put(int number, const Value& value, bool verify) {
  const FieldDef& def = field(number);
  Value stored;
  if (verify) {
    try {
      stored = verifier_.verify(def, value, values_);
    } catch (const ErpError& error) {
      raise(error.what());
    }
  } else {
    auto coerced = coerceToField(def, value);
    if (!coerced) raise("Invalid value for " + def.description + ": " + valueText(value) + ".");
    stored = std::move(*coerced);
    if (auto* text = std::get_if<std::string>(&stored)) {
      if (static_cast<int>(text->size()) > def.size) text->resize(static_cast<size_t>(def.size));
    }
  }
  remember(static_cast<size_t>(def.number - 1), stored);
  values_[static_cast<size_t>(def.number - 1)] = std::move(stored);
}

void DataSource::remember(size_t index, const Value& next) {
  if (values_[index] == next) return;
  for (const auto& [field, value] : saved_) {
    if (field == index) return;
  }
  saved_.emplace_back(index, values_[index]);
}

std::vector<size_t> DataSource::changedFields() const {
  std::vector<size_t> changed;
  for (const auto& [field, value] : saved_) {
    if (values_[field] != value) changed.push_back(field);
  }
  std::sort(changed.begin(), changed.end());
  return changed;
}

std::vector<Value> DataSource::original() const {
  std::vector<Value> values = values_;
  for (const auto& [field, value] : saved_) values[field] = value;
  return values;
}

void DataSource::verify(int number) {
  put(number, Value(value(number)), true);
}

void DataSource::setKeyNumber(int keyNumber) {
  if (keyNumber < 0 || keyNumber >= static_cast<int>(view_.keys.size())) {
    raise("View " + view_.id + " has no key number " + std::to_string(keyNumber) + ".");
  }
  keyNumber_ = keyNumber;
}

void DataSource::applyHeaderLink() {
  if (!header_) return;
  for (auto [detailIndex, headerIndex] : headerLink_) {
    values_[detailIndex] = header_->values_[headerIndex];
  }
}

void DataSource::discardDetailChanges() {
  for (DataSource* detail : details_) {
    detail->pending_.clear();
    detail->current_ = false;
  }
}

void DataSource::clear() {
  values_ = blankRecord(view_);
  saved_.clear();
  current_ = false;
  rev_ = 0;
  applyHeaderLink();
  discardDetailChanges();
}

std::string DataSource::keyText(const std::vector<Value>& values) const {
  std::string text;
  for (int number : view_.keys.front().fields) {
    if (!text.empty()) text += "-";
    text += valueText(values[static_cast<size_t>(number - 1)]);
  }
  return text;
}

std::string DataSource::primaryKeyWhere() const {
  std::string where;
  for (int number : view_.keys.front().fields) {
    if (!where.empty()) where += " AND ";
    where += sqlColumn(*view_.field(number)) + " = ?";
  }
  return where;
}

void DataSource::bindPrimaryKey(SQLite::Statement& statement, int first,
                                const std::vector<Value>& values) const {
  for (int number : view_.keys.front().fields) {
    bindValue(statement, first++, values[static_cast<size_t>(number - 1)]);
  }
}

void DataSource::takeRow(std::vector<Value> values, std::int64_t rev) {
  values_ = std::move(values);
  saved_.clear();
  rev_ = rev;
  current_ = true;
}

bool DataSource::loadByPrimaryKey() {
  SQLite::Statement& query = statements_.get(readSql_);
  if (!view_.singleRecord) bindPrimaryKey(query, 1, values_);
  if (!query.executeStep()) return false;
  std::vector<Value> row = rowValues(query, view_);
  std::int64_t rev = query.getColumn(static_cast<int>(view_.fields.size())).getInt64();
  query.reset();  // an open statement would pin this connection's read snapshot
  takeRow(std::move(row), rev);
  return true;
}

DataSource::PendingChange* DataSource::findPending(const std::vector<Value>& values) {
  for (PendingChange& change : pending_) {
    bool same = true;
    for (int number : view_.keys.front().fields) {
      size_t i = static_cast<size_t>(number - 1);
      if (change.values[i] != values[i]) {
        same = false;
        break;
      }
    }
    if (same) return &change;
  }
  return nullptr;
}

bool DataSource::read() {
  applyHeaderLink();
  discardDetailChanges();
  if (const PendingChange* change = findPending(values_)) {
    if (change->kind == PendingChange::Delete) {
      current_ = false;
      return false;
    }
    std::int64_t rev = change->rev;
    takeRow(change->values, rev);
    return true;
  }
  if (loadByPrimaryKey()) return true;
  current_ = false;
  return false;
}

std::int64_t DataSource::count(const std::string& filter, int /*flags*/) {
  SqlFilter compiled;
  try {
    compiled = compileFilter(view_, filter);
  } catch (const FilterError& error) {
    raise(std::string("Invalid filter. ") + error.what());
  }
  std::string sql = "SELECT COUNT(*) FROM " + quotedTable(view_);
  if (!compiled.where.empty()) sql += " WHERE " + compiled.where;
  SQLite::Statement query(database_->sql(), sql);
  int index = 1;
  for (const Value& param : compiled.params) bindValue(query, index++, param);
  query.executeStep();
  return query.getColumn(0).getInt64();
}

void DataSource::browse(const std::string& filter, bool ascending) {
  SqlFilter compiled;
  try {
    compiled = compileFilter(view_, filter);
  } catch (const FilterError& error) {
    raise(std::string("Invalid filter. ") + error.what());
  }
  const KeyDef& key = view_.keys[static_cast<size_t>(keyNumber_)];
  std::vector<int> order = key.fields;
  std::vector<Value> start;
  for (int number : key.fields) start.push_back(values_[static_cast<size_t>(number - 1)]);
  for (int number : view_.keys.front().fields) {
    if (std::find(order.begin(), order.end(), number) == order.end()) order.push_back(number);
  }
  browser_ = std::make_unique<KeysetBrowser>(database_->sql(), view_, std::move(compiled),
                                             std::move(order), std::move(start), ascending);
}

bool DataSource::fetch(bool /*lock*/) {
  discardDetailChanges();
  // The record's storage goes to the walk for a later record.
  KeysetBrowser::Row row{std::move(values_), rev_};
  if (!browser_ || !browser_->next(row)) {
    values_ = std::move(row.values);
    current_ = false;
    return false;
  }
  takeRow(std::move(row.values), row.rev);
  return true;
}

bool DataSource::pendingChanges() const {
  return current_ && !changedFields().empty();
}

void DataSource::requireWritable(const char* action) {
  if (readOnly_) {
    raise(std::string("Cannot ") + action + " " + view_.description +
              ": the database link is read-only.",
          kRcRefused);
  }
}

void DataSource::requireCurrent(const char* action) {
  if (!current_) {
    raise(
        std::string("Cannot ") + action + " " + view_.description + ": there is no current record.",
        kRcNotFound);
  }
}

void DataSource::reportConflict() {
  lastReturnCode_ = kRcChanged;
  errors_.add(kError, view_.description + " " + keyText(values_) +
                          " was changed by another user since it was read. Nothing was saved.");
}

void DataSource::saving(const std::vector<Value>& key, const std::function<void()>& write) {
  try {
    write();
  } catch (const SQLite::Exception& error) {
    // The database said no (it stayed locked, the disk is full): nothing of the record was
    // saved, and the operator is told why rather than left with a bare return code.
    const int code = error.getErrorCode();
    const bool locked = code == SQLITE_BUSY || code == SQLITE_LOCKED;
    raise(view_.description + " " + keyText(key) + " was not saved. " +
              (locked ? std::string("The company database stayed locked by another program.")
                      : std::string(error.what()) + "."),
          locked ? kRcLocked : kRcRefused);
  }
}

void DataSource::queue(PendingChange change) {
  if (PendingChange* existing = findPending(change.values)) {
    if (existing->kind == PendingChange::Insert && change.kind == PendingChange::Delete) {
      pending_.erase(pending_.begin() + (existing - pending_.data()));
      return;
    }
    if (existing->kind == PendingChange::Insert) change.kind = PendingChange::Insert;
    if (existing->kind == PendingChange::Delete && change.kind == PendingChange::Insert) {
      // What the row held before the delete is not known here: every column is written.
      change.kind = PendingChange::Update;
      change.rev = existing->rev;
      change.original.clear();
    } else if (existing->kind == PendingChange::Update && change.kind == PendingChange::Update) {
      change.original = std::move(existing->original);
    }
    *existing = std::move(change);
    return;
  }
  pending_.push_back(std::move(change));
}

bool DataSource::writeInsert(const std::vector<Value>& values) {
  SQLite::Statement& statement = statements_.get(insertSql_);
  for (size_t i = 0; i < values.size(); ++i)
    bindValue(statement, static_cast<int>(i + 1), values[i]);
  return statement.exec() == 1;
}

std::vector<size_t> DataSource::changedColumns(const std::vector<Value>& values,
                                               const std::vector<Value>& original) const {
  std::vector<size_t> changed;
  for (size_t i = 0; i < values.size(); ++i) {
    if (original.empty() || values[i] != original[i]) changed.push_back(i);
  }
  return changed;
}

SQLite::Statement& DataSource::updateStatement(const std::vector<size_t>& columns) {
  std::unique_ptr<SQLite::Statement>& cached = updates_[columns];
  if (cached) {
    cached->reset();
    cached->clearBindings();
    return *cached;
  }
  std::string sql = "UPDATE " + quotedTable(view_) + " SET ";
  for (size_t i : columns) sql += sqlColumn(view_.fields[i]) + " = ?, ";
  sql += "_rev = _rev + 1" + updateWhere_;
  cached = std::make_unique<SQLite::Statement>(database_->sql(), sql);
  return *cached;
}

bool DataSource::writeUpdate(const std::vector<Value>& values, const std::vector<size_t>& columns,
                             const std::vector<Value>& keyValues, std::int64_t rev) {
  // Only what changed is written; the row version still guards the whole record.
  SQLite::Statement& statement = updateStatement(columns);
  int index = 1;
  for (size_t i : columns) bindValue(statement, index++, values[i]);
  if (!view_.singleRecord) {
    bindPrimaryKey(statement, index, keyValues);
    index += static_cast<int>(view_.keys.front().fields.size());
  }
  statement.bind(index, static_cast<int64_t>(rev));
  return statement.exec() == 1;
}

bool DataSource::writeDelete(const std::vector<Value>& keyValues, std::int64_t rev) {
  SQLite::Statement& statement = statements_.get(deleteSql_);
  bindPrimaryKey(statement, 1, keyValues);
  statement.bind(static_cast<int>(view_.keys.front().fields.size() + 1), static_cast<int64_t>(rev));
  return statement.exec() == 1;
}

WriteScope::Statements DataSource::writeStatements() const {
  const bool details = std::any_of(details_.begin(), details_.end(), [](const DataSource* detail) {
    return detail->detailChanges();
  });
  return details ? WriteScope::Statements::Several : WriteScope::Statements::One;
}

bool DataSource::commitDetails() {
  for (DataSource* detail : details_) {
    for (const PendingChange& change : detail->pending_) {
      bool done = false;
      switch (change.kind) {
        case PendingChange::Insert:
          done = detail->writeInsert(change.values);
          break;
        case PendingChange::Update:
          done = detail->writeUpdate(change.values,
                                     detail->changedColumns(change.values, change.original),
                                     change.values, change.rev);
          break;
        case PendingChange::Delete:
          done = detail->writeDelete(change.values, change.rev);
          break;
      }
      if (!done) {
        errors_.add(kError, detail->view_.description + " " + detail->keyText(change.values) +
                                " was changed by another user. Nothing was saved.");
        return false;
      }
    }
  }
  return true;
}

void DataSource::insert() {
  requireWritable("add");
  applyHeaderLink();
  for (int number : view_.keys.front().fields) {
    const FieldDef& def = *view_.field(number);
    if (def.type == FieldType::Text &&
        valueText(values_[static_cast<size_t>(number - 1)]).empty()) {
      raise(def.description + " cannot be blank.", kRcRefused);
    }
  }
  if (header_) {
    const PendingChange* existing = findPending(values_);
    bool exists = existing ? existing->kind != PendingChange::Delete : [this] {
      std::vector<Value> saved = values_;
      bool found = loadByPrimaryKey();
      values_ = std::move(saved);
      return found;
    }();
    if (exists)
      raise(view_.description + " " + keyText(values_) + " already exists.", kRcDuplicate);
    queue({PendingChange::Insert, values_, {}, 0});
    current_ = true;
    saved_.clear();
    lastReturnCode_ = kRcOk;
    return;
  }
  saving(values_, [this] {
    WriteScope transaction(*database_, writeStatements());
    if (!writeInsert(values_)) {
      raise(view_.description + " " + keyText(values_) + " already exists.", kRcDuplicate);
    }
    if (!commitDetails()) {
      lastReturnCode_ = kRcChanged;
      return;
    }
    transaction.commit();
    discardDetailChanges();
    takeRow(values_, 1);
    lastReturnCode_ = kRcOk;
  });
}

void DataSource::update() {
  requireWritable("update");
  requireCurrent("update");
  const std::vector<size_t> changed = changedFields();
  for (int number : view_.keys.front().fields) {
    if (std::find(changed.begin(), changed.end(), static_cast<size_t>(number - 1)) !=
        changed.end()) {
      raise("The key of " + view_.description + " " + keyText(original()) + " cannot be changed.",
            kRcRefused);
    }
  }
  if (header_) {
    queue({PendingChange::Update, values_, original(), rev_});
    saved_.clear();
    lastReturnCode_ = kRcOk;
    return;
  }
  saving(values_, [this, &changed] {
    WriteScope transaction(*database_, writeStatements());
    if (!writeUpdate(values_, changed, values_, rev_)) {
      reportConflict();
      return;
    }
    if (!commitDetails()) {
      lastReturnCode_ = kRcChanged;
      return;
    }
    transaction.commit();
    discardDetailChanges();
    saved_.clear();
    ++rev_;
    lastReturnCode_ = kRcOk;
  });
}

void DataSource::remove() {
  requireWritable("delete");
  requireCurrent("delete");
  if (header_) {
    queue({PendingChange::Delete, values_, {}, rev_});
    current_ = false;
    lastReturnCode_ = kRcOk;
    return;
  }
  const std::vector<Value> read = original();
  saving(read, [this, &read] {
    WriteScope transaction(*database_, WriteScope::Statements::One);
    if (!writeDelete(read, rev_)) {
      reportConflict();
      return;
    }
    transaction.commit();
    discardDetailChanges();
    current_ = false;
    lastReturnCode_ = kRcOk;
  });
}

}  // namespace erp
