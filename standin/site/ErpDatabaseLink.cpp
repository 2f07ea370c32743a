#include "standin/site/ErpDatabaseLink.h"

#include "standin/database/ErpError.h"
#include "standin/database/SqlValues.h"
#include "standin/database/ValueText.h"
#include "standin/database/WriteScope.h"
#include "standin/filter/Filter.h"

#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <stdexcept>
#include <utility>

namespace erp {
namespace {

const FieldDef& optionField(const ViewDef& view, int number) {
  const FieldDef* field = view.field(number);
  if (field == nullptr) {
    throw std::out_of_range("View " + view.id + " has no field " + std::to_string(number) + ".");
  }
  return *field;
}

std::string quotedTable(const ViewDef& view) {
  return "\"" + view.id + "\"";
}

}  // namespace

DatabaseLink::DatabaseLink(int type, bool readOnly, std::shared_ptr<CompanyDatabase> database,
                           std::shared_ptr<ErrorList> errors, std::shared_ptr<SiteDatabase> site,
                           std::string orgId)
    : type_(type),
      readOnly_(readOnly),
      database_(std::move(database)),
      errors_(std::move(errors)),
      site_(std::move(site)),
      orgId_(std::move(orgId)) {}

std::shared_ptr<CompanyDatabase> DatabaseLink::database() const {
  if (!database_) throw ErpError("The database link is closed.");
  return database_;
}

void DatabaseLink::close() {
  database_.reset();
}

void DatabaseLink::requireWritable(const std::string& what) const {
  if (!readOnly_) return;
  const std::string message = "Cannot " + what + ": the database link is read-only.";
  errors_->add(kError, message);
  throw ErpError(message, kRcRefused);
}

/// Runs a step of a link transaction; what the database refuses is listed and raised.
template <typename Step>
auto DatabaseLink::transactionStep(Step step) -> decltype(step()) {
  try {
    return step();
  } catch (const SQLite::Exception& error) {
    const int code = error.getErrorCode();
    const bool locked = code == SQLITE_BUSY || code == SQLITE_LOCKED;
    const std::string message =
        locked ? "The company database stayed locked by another program."
               : "The company database refused the transaction: " + std::string(error.what()) + ".";
    errors_->add(kError, message);
    throw ErpError(message, locked ? kRcLocked : kRcRefused);
  } catch (const ErpError&) {
    throw;
  } catch (const std::exception& error) {
    errors_->add(kError, error.what());
    throw ErpError(error.what(), kRcRefused);
  }
}

int DatabaseLink::beginTransaction() {
  requireWritable("start a transaction");
  return transactionStep([this] { return database()->beginTransaction(); });
}

void DatabaseLink::commitTransaction() {
  transactionStep([this] { database()->commitTransaction(); });
}

void DatabaseLink::rollbackTransaction() {
  transactionStep([this] { database()->rollbackTransaction(); });
}

int DatabaseLink::transactionLevel() const {
  return database()->transactionLevel();
}

std::vector<ActiveApplication> DatabaseLink::activeApplications() const {
  database();
  return site_->applications(orgId_);
}

const ViewDef& DatabaseLink::optionsView(const std::string& viewId) const {
  const ViewDef& view = database()->catalog().get(viewId);
  if (!view.singleRecord)
    throw std::invalid_argument("View " + viewId + " is not an options view.");
  return view;
}

std::vector<Value> DatabaseLink::readOptionValues(const std::string& viewId,
                                                  const std::vector<int>& fieldNumbers) const {
  const ViewDef& view = optionsView(viewId);
  std::vector<const FieldDef*> fields;
  for (int number : fieldNumbers) fields.push_back(&optionField(view, number));
  if (fields.empty()) return {};

  std::string sql = "SELECT ";
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += sqlColumn(*fields[i]);
  }
  sql += " FROM " + quotedTable(view) + " LIMIT 1";
  SQLite::Statement query(database_->sql(), sql);
  std::vector<Value> values(fields.size());
  if (query.executeStep()) {
    for (size_t i = 0; i < fields.size(); ++i) {
      values[i] = columnValue(query.getColumn(static_cast<int>(i)), *fields[i]);
    }
  }
  return values;
}

void DatabaseLink::writeOptionValues(const std::string& viewId,
                                     const std::vector<int>& fieldNumbers,
                                     const std::vector<Value>& values) {
  const ViewDef& view = optionsView(viewId);
  requireWritable("change the options of " + viewId);
  if (fieldNumbers.size() != values.size()) {
    throw std::invalid_argument("Each option field needs exactly one value.");
  }
  std::vector<Value> stored;
  std::string assignments;
  for (size_t i = 0; i < fieldNumbers.size(); ++i) {
    const FieldDef& field = optionField(view, fieldNumbers[i]);
    std::optional<Value> coerced = coerceToField(field, values[i]);
    if (!coerced) {
      throw std::invalid_argument("The value for field " + field.name + " of view " + viewId +
                                  " does not fit the field.");
    }
    stored.push_back(std::move(*coerced));
    if (i > 0) assignments += ", ";
    assignments += sqlColumn(field) + " = ?";
  }

  SQLite::Database& db = database_->sql();
  WriteScope transaction(*database_);
  SQLite::Statement exists(db, "SELECT 1 FROM " + quotedTable(view) + " LIMIT 1");
  if (!exists.executeStep()) db.exec("INSERT INTO " + quotedTable(view) + " DEFAULT VALUES");
  if (!stored.empty()) {
    SQLite::Statement update(
        db, "UPDATE " + quotedTable(view) + " SET " + assignments + ", _rev = _rev + 1");
    for (size_t i = 0; i < stored.size(); ++i)
      bindValue(update, static_cast<int>(i) + 1, stored[i]);
    update.exec();
  }
  transaction.commit();
}

}  // namespace erp
