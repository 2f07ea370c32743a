#include "convert/ChangedRecords.h"
#include "convert/ConversionEngine.h"
#include "convert/RecordTexts.h"
#include "platform/Text.h"

#include <algorithm>

namespace convert {

const std::vector<int>& ConversionEngine::ChangedFieldsOf(grids::TaxGroupGrid& grid) {
  if (kindFields_.empty()) {
    kindFields_ = TaxGroupFields(grid);
    kindFieldNames_.clear();
    for (int n : kindFields_) kindFieldNames_.push_back(grid.adsHeader()->Fields(n).Name());
  }
  return kindFields_;
}

std::vector<int> ConversionEngine::RowFieldsOf(host::DataSource& detail) {
  const std::vector<int>& key = detail.Keys().front().fields;
  std::vector<int> fields;
  for (int n = 1; n <= detail.FieldCount(); ++n) {
    if (std::find(key.begin(), key.end(), n) == key.end()) fields.push_back(n);
  }
  return fields;
}

void ConversionEngine::BeginChanges(host::DataSource& header, const host::RecordProbe& probe) {
  if (!recorder_) return;
  recorder_->BeginRecord(GetRecordKey(header));
  for (size_t i = 0; i < probe.fields.size(); ++i) {
    recorder_->Before(kindFieldNames_[i], probe.fields[i].before);
  }
}

void ConversionEngine::RowChange(grids::TaxAuthorityGrid& grid, const std::string& authority,
                                 bool exists, bool after) {
  if (!recorder_) return;
  host::DataSource& detail = *grid.adsDetail();
  const std::string row = platform::Trim(authority);
  auto record = [this, after](const std::string& field, const std::string& value) {
    if (after) {
      recorder_->After(field, value);
    } else {
      recorder_->Before(field, value);
    }
  };
  record(DetailField(row, kRowField), exists ? kPresent : kAbsent);
  for (int n : RowFieldsOf(detail)) {
    record(DetailField(row, detail.Fields(n).Name()), exists ? detail.Fields(n).Text() : "");
  }
}

void ConversionEngine::EndChanges(const host::RecordProbe* probe, RecordOutcome outcome,
                                  const std::string& detail) {
  if (!recorder_) return;
  if (probe && outcome == RecordOutcome::Converted) {
    for (size_t i = 0; i < probe->fields.size(); ++i) {
      recorder_->After(kindFieldNames_[i], probe->fields[i].after);
    }
  }
  recorder_->EndRecord(outcome, detail);
  // Rows of an open batch wait for its commit (OnCommit); otherwise the record is committed or,
  // in a preview, never will be, and its rows claim nothing more than that.
  if (!batches_.Open()) recorder_->Flush();
}

std::string ConversionEngine::SessionMessages(const std::exception* error) {
  std::string text;
  if (host::Session* session = connection_.Session()) {
    host::ErrorCollection& errors = session->Errors();
    for (int i = 0; i < errors.Count(); ++i) text += (text.empty() ? "" : " ") + errors.Text(i);
  }
  if (text.empty() && error) text = error->what();
  return text;
}

}  // namespace convert
