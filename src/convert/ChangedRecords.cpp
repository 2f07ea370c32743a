#include "convert/ChangedRecords.h"

#include "convert/changes/ChangeRecorder.h"

#include <algorithm>

namespace convert {
namespace {

RowChange& RowOf(RecordChange& record, const std::string& authority) {
  for (RowChange& row : record.rows) {
    if (row.authority == authority) return row;
  }
  record.rows.push_back({authority, false, false, false, {}});
  return record.rows.back();
}

bool Named(const std::vector<FieldChange>& fields, const std::string& field) {
  return std::any_of(fields.begin(), fields.end(),
                     [&](const FieldChange& known) { return known.field == field; });
}

void AddRow(RecordChange& record, const ChangeRow& row) {
  if (row.field.empty()) return;
  const size_t colon = row.field.find(": ");  // as DetailField joins them
  if (colon == std::string::npos) {
    if (Named(record.fields, row.field)) record.repeated.push_back(row.field);
    record.fields.push_back({row.field, row.before, row.after});
    return;
  }
  RowChange& detail = RowOf(record, row.field.substr(0, colon));
  const std::string field = row.field.substr(colon + 2);
  if (field == kRowField) {
    if (detail.told) record.repeated.push_back(row.field);
    detail.told = true;
    detail.presentBefore = row.before == kPresent;
    detail.presentAfter = row.after == kPresent;
  } else {
    if (Named(detail.fields, field)) record.repeated.push_back(row.field);
    detail.fields.push_back({field, row.before, row.after});
  }
}

}  // namespace

bool RecordChange::Converted() const {
  return outcome == OutcomeText(RecordOutcome::Converted, "", false);
}

std::optional<RecordChange> ChangedRecords::Next() {
  if (!pending_) {
    pending_ = reader_.Next();
    pendingLine_ = reader_.LineNumber();
  }
  if (!pending_) return std::nullopt;
  const KindDef* kind = KindOfLogName(pending_->kind);
  if (kind == nullptr) {
    throw ChangeFileError("it names an unknown kind of record, " + pending_->kind + ".");
  }
  RecordChange record{kind, pending_->key, pending_->outcome, pendingLine_, {}, {}, {}};
  do {
    AddRow(record, *pending_);
    pending_ = reader_.Next();
    pendingLine_ = reader_.LineNumber();
  } while (pending_ && pending_->kind == kind->logName && pending_->key == record.key &&
           pending_->outcome == record.outcome);
  return record;
}

namespace {

/// Adds to `splits` every cut of `text` into `parts` values, each after `prefix`.
void KeySplits(const std::string& text, int parts, std::vector<std::string>& prefix,
               std::vector<std::vector<std::string>>& splits) {
  if (parts == 1) {
    prefix.push_back(text);
    splits.push_back(prefix);
    prefix.pop_back();
    return;
  }
  for (size_t joint = text.find('-'); joint != std::string::npos;
       joint = text.find('-', joint + 1)) {
    prefix.push_back(text.substr(0, joint));
    KeySplits(text.substr(joint + 1), parts - 1, prefix, splits);
    prefix.pop_back();
  }
}

}  // namespace

std::vector<std::vector<std::string>> KeySplits(const std::string& key, int parts) {
  std::vector<std::string> prefix;
  std::vector<std::vector<std::string>> splits;
  KeySplits(key, parts, prefix, splits);
  return splits;
}

}  // namespace convert
