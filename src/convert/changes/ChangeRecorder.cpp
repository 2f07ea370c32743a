#include "convert/changes/ChangeRecorder.h"

namespace convert {

std::string OutcomeText(RecordOutcome outcome, const std::string& detail, bool preview) {
  switch (outcome) {
    case RecordOutcome::Converted:
      return preview ? "would convert" : "converted";
    case RecordOutcome::Skipped:
      return (preview ? "would skip: " : "skipped: ") + detail;
    case RecordOutcome::Failed:
      return (preview ? "would fail: " : "failed: ") + detail;
    case RecordOutcome::Unchanged:
      break;
  }
  return preview ? "would leave unchanged" : "unchanged";
}

void ChangeRecorder::BeginRecord(const std::string& key) {
  key_ = key;
  fields_.clear();
}

void ChangeRecorder::Before(const std::string& field, const std::string& value) {
  for (const FieldValues& known : fields_) {
    if (known.field == field) return;
  }
  fields_.push_back({field, value, value});
}

void ChangeRecorder::After(const std::string& field, const std::string& value) {
  for (FieldValues& known : fields_) {
    if (known.field == field) {
      known.after = value;
      return;
    }
  }
  fields_.push_back({field, "", value});
}

void ChangeRecorder::EndRecord(RecordOutcome outcome, const std::string& detail) {
  // Signed as they end, the rows can be staged before their batch commits exactly as they will
  // be written after it.
  if (ended_.empty()) head_ = writer_.Head();
  const std::string text = OutcomeText(outcome, detail, preview_);
  if (fields_.empty())
    AppendSignedRow(ended_, writer_.Digest(), head_, {kind_, key_, "", "", "", text});
  for (const FieldValues& values : fields_) {
    const std::string& after = outcome == RecordOutcome::Converted ? values.after : values.before;
    AppendSignedRow(ended_, writer_.Digest(), head_,
                    {kind_, key_, values.field, values.before, after, text});
  }
  endedRows_ += fields_.empty() ? 1 : static_cast<long>(fields_.size());
  fields_.clear();
}

void ChangeRecorder::FailHeld(const std::string& why) {
  // Rare (a commit that failed), so the held lines are read back rather than kept twice.
  const std::string converted = OutcomeText(RecordOutcome::Converted, "", preview_);
  std::string lines;
  head_ = writer_.Head();
  for (std::vector<std::string>& cells : ParseCsv(ended_)) {
    ChangeRow row{cells.at(0), cells.at(1), cells.at(2), cells.at(3), cells.at(4), cells.at(5)};
    if (row.outcome == converted) {
      row.outcome = OutcomeText(RecordOutcome::Failed, why, preview_);
      row.after = row.before;
    }
    AppendSignedRow(lines, writer_.Digest(), head_, row);
  }
  ended_ = std::move(lines);
}

void ChangeRecorder::Flush() {
  writer_.WriteSigned(ended_, endedRows_, head_);
  ended_.clear();
  endedRows_ = 0;
}

void ChangeRecorder::Finish() {
  Flush();
  writer_.Finish();
}

}  // namespace convert
