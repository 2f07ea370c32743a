#include "standin/sample/RecordWriter.h"

#include "standin/database/SqlValues.h"
#include "standin/database/ValueText.h"
#include "standin/filter/Filter.h"

#include <stdexcept>

namespace erp {
namespace {

std::string insertSql(const ViewDef& view) {
  std::string columns;
  std::string marks;
  for (const FieldDef& field : view.fields) {
    if (!columns.empty()) {
      columns += ", ";
      marks += ", ";
    }
    columns += sqlColumn(field);
    marks += "?";
  }
  return "INSERT INTO \"" + view.id + "\" (" + columns + ") VALUES (" + marks + ")";
}

}  // namespace

RecordWriter::RecordWriter(CompanyDatabase& database, const std::string& viewId)
    : view_(database.catalog().get(viewId)), insert_(database.sql(), insertSql(view_)) {
  for (const FieldDef& field : view_.fields) {
    numbers_.emplace(field.name, field.number);
    blank_.push_back(blankValue(field));
  }
  values_ = blank_;
}

const FieldDef& RecordWriter::fieldAt(int number) const {
  const FieldDef* field = view_.field(number);
  if (!field) {
    throw std::invalid_argument("View " + view_.id + " has no field " + std::to_string(number) +
                                ".");
  }
  return *field;
}

int RecordWriter::number(const std::string& name) const {
  auto found = numbers_.find(name);
  if (found == numbers_.end()) {
    throw std::invalid_argument("View " + view_.id + " has no field " + name + ".");
  }
  return found->second;
}

void RecordWriter::set(int number, const Value& value) {
  const FieldDef& field = fieldAt(number);
  std::optional<Value> stored = coerceToField(field, value);
  if (!stored) {
    throw std::invalid_argument("View " + view_.id + ": " + valueText(value) +
                                " is no value for field " + field.name + ".");
  }
  if (field.type == FieldType::Text &&
      static_cast<int>(std::get<std::string>(*stored).size()) > field.size) {
    throw std::invalid_argument("View " + view_.id + ": \"" + std::get<std::string>(*stored) +
                                "\" is longer than field " + field.name + " (" +
                                std::to_string(field.size) + " characters).");
  }
  values_[static_cast<size_t>(number - 1)] = std::move(*stored);
}

void RecordWriter::set(const std::string& name, const Value& value) {
  set(number(name), value);
}

const Value& RecordWriter::value(int number) const {
  fieldAt(number);
  return values_[static_cast<size_t>(number - 1)];
}

std::string RecordWriter::keyText() const {
  std::string text;
  if (view_.keys.empty()) return text;
  for (int number : view_.keys.front().fields) {
    if (!text.empty()) text += ", ";
    text += valueText(values_[static_cast<size_t>(number - 1)]);
  }
  return text;
}

void RecordWriter::write() {
  for (size_t i = 0; i < values_.size(); ++i) {
    const int index = static_cast<int>(i + 1);
    // The buffer outlives the step, so texts need not be copied into the statement.
    if (const auto* text = std::get_if<std::string>(&values_[i])) {
      insert_.bindNoCopy(index, *text);
    } else {
      bindValue(insert_, index, values_[i]);
    }
  }
  try {
    insert_.exec();
  } catch (const SQLite::Exception& error) {
    // reset() would raise the failed step's error again; the statement only needs rewinding.
    insert_.tryReset();
    throw std::runtime_error("Cannot insert record (" + keyText() + ") into view " + view_.id +
                             ": " + error.what());
  }
  insert_.reset();
  values_ = blank_;
  ++written_;
}

}  // namespace erp
