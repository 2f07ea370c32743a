#include "convert/ChangedRecords.h"

#include "convert/changes/ChangeRecorder.h"

namespace convert {
namespace {

const KindDef* kindNamed(const std::string& logName) {
  for (const KindDef& kind : Kinds()) {
    if (kind.logName == logName) return &kind;
  }
  return nullptr;
}

RowChange& rowOf(RecordChange& record, const std::string& authority) {
  for (RowChange& row : record.rows) {
    if (row.authority == authority) return row;
  }
  record.rows.push_back({authority, false, false, {}});
  return record.rows.back();
}

void addRow(RecordChange& record, const ChangeRow& row) {
  const size_t colon = row.field.find(": ");  // as DetailField joins them
  if (colon == std::string::npos) {
    record.fields.push_back({row.field, row.before, row.after});
    return;
  }
  RowChange& detail = rowOf(record, row.field.substr(0, colon));
  const std::string field = row.field.substr(colon + 2);
  if (field == kRowField) {
    detail.presentBefore = row.before == kPresent;
    detail.presentAfter = row.after == kPresent;
  } else {
    detail.fields.push_back({field, row.before, row.after});
  }
}

}  // namespace

std::vector<RecordChange> ConvertedRecords(const ChangeFileContents& contents) {
  const std::string converted = OutcomeText(RecordOutcome::Converted, "", false);
  std::vector<RecordChange> records;
  for (const ChangeRow& row : contents.rows) {
    const KindDef* kind = kindNamed(row.kind);
    if (kind == nullptr)
      throw ChangeFileError("it names an unknown kind of record, " + row.kind + ".");
    if (row.outcome != converted || row.field.empty()) continue;
    if (records.empty() || records.back().kind != kind || records.back().key != row.key) {
      records.push_back({kind, row.key, {}, {}});
    }
    addRow(records.back(), row);
  }
  return records;
}

namespace {

/// Adds to `splits` every cut of `text` into `parts` values, each after `prefix`.
void keySplits(const std::string& text, int parts, std::vector<std::string>& prefix,
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
    keySplits(text.substr(joint + 1), parts - 1, prefix, splits);
    prefix.pop_back();
  }
}

}  // namespace

std::vector<std::vector<std::string>> KeySplits(const std::string& key, int parts) {
  std::vector<std::string> prefix;
  std::vector<std::vector<std::string>> splits;
  keySplits(key, parts, prefix, splits);
  return splits;
}

}  // namespace convert
