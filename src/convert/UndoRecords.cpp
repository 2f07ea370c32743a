#include "convert/UndoRecords.h"

#include "convert/RecordTexts.h"
#include "platform/Text.h"

#include <charconv>
#include <stdexcept>

namespace convert {
namespace {

bool SameValue(const std::string& a, const std::string& b) {
  // The ERP's text fields are blank-padded: trailing blanks never tell two values apart.
  return platform::TrimRight(a) == platform::TrimRight(b);
}

/// The value to put for a field's text, in the field's own type.
host::Variant ValueFor(const host::Field& field, const std::string& text) {
  if (field.Info().type == host::FieldType::Text) return text;
  if (text.empty()) return std::int64_t{0};
  std::int64_t whole = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
  if (error == std::errc() && end == text.data() + text.size()) return whole;
  return std::stod(text);
}

const FieldChange* FieldNamed(const std::vector<FieldChange>& fields, const std::string& name) {
  for (const FieldChange& field : fields) {
    if (field.field == name) return &field;
  }
  return nullptr;
}

std::vector<std::pair<int, std::string>> PrimaryKey(host::DataSource& header) {
  std::vector<std::pair<int, std::string>> key;
  for (int number : header.Keys().front().fields) {
    key.emplace_back(number, header.Fields(number).Text());
  }
  return key;
}

bool ReadKey(host::DataSource& header, const host::Key& primary,
             const std::vector<std::string>& values) {
  header.ClearRecord();
  for (size_t i = 0; i < values.size(); ++i) {
    host::Field field = header.Fields(primary.fields[i]);
    field.PutWithoutVerification(ValueFor(field, values[i]));
  }
  return header.Read();
}

bool ReadRow(const KindDef& kind, host::DataSource& detail, const std::string& authority) {
  detail.ClearRecord();
  detail.Fields(static_cast<int>(kind.lAuhorityIDX)).PutWithoutVerification(authority);
  return detail.Read();
}

}  // namespace

void UndoTally::AddReport(std::string line) {
  if (reports.size() < kReportsKept) {
    reports.push_back(std::move(line));
  } else {
    ++moreReports;
  }
}

UndoRecords::UndoRecords(KindControls& controls, host::AccpacConnection& connection,
                         UndoRules& rules, ChangeRecorder& recorder, const std::string& logFile,
                         UndoTally& tally, std::function<void()> committed)
    : controls_(controls),
      connection_(connection),
      rules_(rules),
      recorder_(recorder),
      tally_(tally),
      batches_(connection, state_),
      committed_(std::move(committed)) {
  state_.CurrentLogFile = logFile;
  // Every record is committed on its own; its rows and log lines are staged before, so that the
  // next start of its kind writes them when a kill came between the commit and their writes.
  batches_.SetRecordsPerCommit(1);
  batches_.OnStage([this](host::StagedBatch& batch) {
    if (!recorder_.Writer().Writing()) return;
    batch.changeFile = recorder_.Writer().Path().string();
    batch.changeSize = recorder_.Writer().End();
    batch.changeRows = recorder_.HeldRows();
  });
  batches_.OnCommit([this](bool saved) {
    if (saved && committed_) committed_();
    if (!saved) recorder_.FailHeld("the commit of its batch failed");
    recorder_.Flush();
  });
}

void SettleKinds(const std::vector<const KindDef*>& kinds, KindControls& controls,
                 host::AccpacConnection& connection) {
  RunState state;
  CommitBatches batches(connection, state);
  for (const KindDef* kind : kinds) {
    host::DataSource* detail =
        kind->detailSource.empty() ? nullptr : &controls.Source(kind->detailSource);
    batches.StartKind(kind->logName, controls.Source(kind->headerSource), detail);
    batches.EndKind();
  }
}

void UndoRecords::StartKind(const KindDef& kind) {
  host::DataSource* detail =
      kind.detailSource.empty() ? nullptr : &controls_.Source(kind.detailSource);
  batches_.StartKind(kind.logName, controls_.Source(kind.headerSource), detail);
  kind_ = &kind;
}

void UndoRecords::EndKind() {
  if (kind_) batches_.EndKind();
  kind_ = nullptr;
}

void UndoRecords::Log(const std::string& line) {
  if (batches_.Open()) {
    batches_.Hold(connection_.LogLine(0, line));
  } else {
    connection_.WriteLog(0, state_.CurrentLogFile, line);
  }
}

void UndoRecords::Record(const RecordChange& record) {
  if (kind_ != record.kind) {
    EndKind();
    StartKind(*record.kind);
  }
  host::DataSource& header = controls_.Source(record.kind->headerSource);
  host::DataSource* detail =
      record.kind->detailSource.empty() ? nullptr : &controls_.Source(record.kind->detailSource);
  KindCounts& counts = CountsOf(header.Description());
  ++counts.records;
  recorder_.StartKind(record.kind->logName);
  recorder_.BeginRecord(record.key);
  const std::string name = header.Description() + " " + record.key;
  const std::string incomplete = rules_.Incomplete(record);
  if (!incomplete.empty()) {
    ++counts.failed;
    Report("Undo " + name + " refused. " + incomplete);
    End(RecordOutcome::Failed, incomplete);
    return;
  }
  std::string changed;
  try {
    changed = Find(header, record.key);
    if (changed.empty()) changed = Differences(record, header, detail);
  } catch (const std::exception& error) {
    ++counts.failed;
    const std::string messages = SessionMessages(error);
    Report("Undo " + name + " failed. " + messages);
    End(RecordOutcome::Failed, messages);
    return;
  }
  if (!changed.empty()) {
    ++counts.skipped;
    Report("Undo " + name + " skipped. " + changed);
    End(RecordOutcome::Skipped, changed);
    return;
  }
  Save(record, header, detail, counts, name);
}

bool UndoRecords::Save(const RecordChange& record, host::DataSource& header,
                       host::DataSource* detail, KindCounts& counts, const std::string& name) {
  bool saved = false;
  try {
    RecordLevel level(batches_);
    std::vector<host::RecordProbe> probes = PutBack(record, header, detail);
    if (!header.PendingChanges() && !(detail && detail->DetailChanges())) {
      Report("Undo " + name + " unchanged.");
      End(RecordOutcome::Unchanged);
    } else {
      header.Update();
      if (header.LastReturnCode() != 0)
        throw std::runtime_error("Return code=" + std::to_string(header.LastReturnCode()) + ".");
      level.Keep(std::move(probes));
      ++counts.updated;
      saved = true;
      Log("Undo " + name + " succeeded.");
      End(RecordOutcome::Converted);
    }
  } catch (const std::exception& error) {
    ++counts.failed;
    const std::string messages = SessionMessages(error);
    Report("Undo " + name + " failed. " + messages);
    End(RecordOutcome::Failed, messages);
  }
  try {
    batches_.RecordHandled();
  } catch (const std::exception& error) {
    // The commit failed and undid the record; its rows say so already.
    if (saved) --counts.updated;
    ++counts.failed;
    Report("Undo " + name + " failed. " + error.what());
    saved = false;
  }
  return saved;
}

std::string UndoRecords::Find(host::DataSource& header, const std::string& key) {
  const host::Key& primary = header.Keys().front();
  std::vector<std::vector<std::string>> found;
  for (const std::vector<std::string>& split : KeySplits(key, primary.FieldCount())) {
    if (ReadKey(header, primary, split)) found.push_back(split);
  }
  if (found.empty()) return "It no longer exists.";
  if (found.size() > 1) return "Its key names more than one record.";
  ReadKey(header, primary, found.front());
  return "";
}

std::string UndoRecords::Differences(const RecordChange& record, host::DataSource& header,
                                     host::DataSource* detail) {
  std::string differences;
  auto compare = [&](const std::string& field, const std::string& now, const std::string& after) {
    recorder_.Before(field, now);
    if (!SameValue(now, after) && differences.empty()) {
      differences = "Changed since: " + field + " is \"" + platform::TrimRight(now) + "\", not \"" +
                    after + "\".";
    }
  };
  for (const FieldChange& field : record.fields) {
    compare(field.field, header.Fields(field.field).Text(), field.after);
  }
  for (const RowChange& row : record.rows) {
    const bool present = ReadRow(*record.kind, *detail, row.authority);
    compare(DetailField(row.authority, kRowField), present ? kPresent : kAbsent,
            row.presentAfter ? kPresent : kAbsent);
    for (const FieldChange& field : row.fields) {
      compare(DetailField(row.authority, field.field),
              present ? detail->Fields(field.field).Text() : "", field.after);
    }
  }
  return differences;
}

std::vector<host::RecordProbe> UndoRecords::PutBack(const RecordChange& record,
                                                    host::DataSource& header,
                                                    host::DataSource* detail) {
  if (detail) return PutBackRows(record, header, *detail);
  host::RecordProbe probe;
  probe.key = PrimaryKey(header);
  for (const std::string& name : rules_.HeaderFields(*record.kind)) {
    host::Field target = header.Fields(name);
    const std::string now = target.Text();
    target.PutWithVerification(ValueFor(target, FieldNamed(record.fields, name)->before));
    probe.fields.push_back({target.Index(), now, target.Text()});
    recorder_.After(name, target.Text());
  }
  return {probe};
}

std::vector<host::RecordProbe> UndoRecords::PutBackRows(const RecordChange& record,
                                                        host::DataSource& header,
                                                        host::DataSource& detail) {
  std::vector<host::RecordProbe> probes;
  const int authorityField = static_cast<int>(record.kind->lAuhorityIDX);
  for (const RowChange& row : record.rows) {
    host::RecordProbe probe{
        PrimaryKey(header), authorityField, row.authority, false, row.presentBefore, {}};
    probe.existedBefore = ReadRow(*record.kind, detail, row.authority);
    std::vector<const FieldChange*> putBack;
    for (const FieldChange& field : row.fields) {
      if (rules_.PutsBack(*record.kind, field.field)) putBack.push_back(&field);
    }
    for (const FieldChange* field : putBack) {
      const std::string now = probe.existedBefore ? detail.Fields(field->field).Text() : "";
      probe.fields.push_back({detail.Fields(field->field).Index(), now, ""});
    }
    if (row.presentBefore) {
      if (!probe.existedBefore) {
        detail.ClearRecord();
        detail.Fields(authorityField).PutWithVerification(row.authority);
      }
      for (const FieldChange* field : putBack) {
        host::Field target = detail.Fields(field->field);
        target.PutWithVerification(ValueFor(target, field->before));
      }
      if (probe.existedBefore) {
        detail.Update();
      } else {
        detail.Insert();
      }
    } else if (probe.existedBefore) {
      detail.Delete();
    }
    recorder_.After(DetailField(row.authority, kRowField), row.presentBefore ? kPresent : kAbsent);
    for (const FieldChange& field : row.fields) {
      recorder_.After(DetailField(row.authority, field.field),
                      row.presentBefore ? detail.Fields(field.field).Text() : "");
    }
    for (size_t i = 0; i < putBack.size() && row.presentBefore; ++i) {
      probe.fields[i].after = detail.Fields(putBack[i]->field).Text();
    }
    probes.push_back(std::move(probe));
  }
  return probes;
}

KindCounts& UndoRecords::CountsOf(const std::string& kind) {
  for (auto& [name, counts] : tally_.kinds) {
    if (name == kind) return counts;
  }
  tally_.kinds.emplace_back(kind, KindCounts{});
  return tally_.kinds.back().second;
}

std::string UndoRecords::SessionMessages(const std::exception& error) {
  std::string text;
  if (host::Session* session = connection_.Session()) {
    host::ErrorCollection& errors = session->Errors();
    for (int i = 0; i < errors.Count(); ++i) text += (text.empty() ? "" : " ") + errors.Text(i);
  }
  return text.empty() ? error.what() : text;
}

void UndoRecords::Report(const std::string& line) {
  Log(line);
  tally_.AddReport(line);
}

void UndoRecords::End(RecordOutcome outcome, const std::string& detail) {
  recorder_.EndRecord(outcome, detail);
  // Rows of a record being saved wait for its commit, which writes them (OnCommit).
  if (!batches_.Open()) recorder_.Flush();
  if (host::Session* session = connection_.Session()) session->Errors().Clear();
}

}  // namespace convert
