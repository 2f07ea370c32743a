#include "convert/ChangeUndo.h"

#include "convert/ChangedRecords.h"
#include "convert/RecordTexts.h"
#include "convert/changes/ChangeRecorder.h"
#include "host/KindClaim.h"
#include "host/VersionInfo.h"
#include "platform/Text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <map>
#include <memory>

namespace convert {
namespace {

bool sameValue(const std::string& a, const std::string& b) {
  // The ERP's text fields are blank-padded: trailing blanks never tell two values apart.
  return platform::TrimRight(a) == platform::TrimRight(b);
}

/// The value to put for a field's text, in the field's own type.
host::Variant valueFor(const host::Field& field, const std::string& text) {
  if (field.Info().type == host::FieldType::Text) return text;
  if (text.empty()) return std::int64_t{0};
  std::int64_t whole = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
  if (error == std::errc() && end == text.data() + text.size()) return whole;
  return std::stod(text);
}

/// Undoes the records of one change file, one at a time.
class Undo {
 public:
  Undo(KindControls& controls, host::AccpacConnection& connection, ChangeRecorder& recorder,
       UndoResult& result)
      : controls_(controls), connection_(connection), recorder_(recorder), result_(result) {}

  void Record(const RecordChange& record) {
    host::DataSource& header = controls_.Source(record.kind->headerSource);
    host::DataSource* detail =
        record.kind->detailSource.empty() ? nullptr : &controls_.Source(record.kind->detailSource);
    KindCounts& counts = CountsOf(header.Description());
    ++counts.records;
    recorder_.StartKind(record.kind->logName);
    recorder_.BeginRecord(record.key);
    const std::string name = header.Description() + " " + record.key;
    try {
      std::string changed = Find(header, record.key);
      if (changed.empty()) changed = Differences(record, header, detail);
      if (!changed.empty()) {
        ++counts.skipped;
        Report("Undo " + name + " skipped. " + changed);
        End(RecordOutcome::Skipped, changed);
        return;
      }
      PutBack(record, header, detail);
      if (!header.PendingChanges() && !(detail && detail->DetailChanges())) {
        Report("Undo " + name + " unchanged.");
        End(RecordOutcome::Unchanged);
        return;
      }
      header.Update();
      if (header.LastReturnCode() != 0)
        throw std::runtime_error("Return code=" + std::to_string(header.LastReturnCode()) + ".");
      ++counts.updated;
      Log("Undo " + name + " succeeded.");
      End(RecordOutcome::Converted);
    } catch (const std::exception& error) {
      ++counts.failed;
      const std::string messages = SessionMessages(error);
      Report("Undo " + name + " failed. " + messages);
      End(RecordOutcome::Failed, messages);
    }
  }

  KindCounts& CountsOf(const std::string& kind) {
    for (auto& [name, counts] : result_.kinds) {
      if (name == kind) return counts;
    }
    result_.kinds.emplace_back(kind, KindCounts{});
    return result_.kinds.back().second;
  }

  void Log(const std::string& line) { connection_.WriteLog(0, result_.logFile, line); }

 private:
  /// Reads the record of `key`; the empty text when it was found, else why it is left alone.
  std::string Find(host::DataSource& header, const std::string& key) {
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

  static bool ReadKey(host::DataSource& header, const host::Key& primary,
                      const std::vector<std::string>& values) {
    header.ClearRecord();
    for (size_t i = 0; i < values.size(); ++i) {
      host::Field field = header.Fields(primary.fields[i]);
      field.PutWithoutVerification(valueFor(field, values[i]));
    }
    return header.Read();
  }

  bool ReadRow(const RecordChange& record, host::DataSource& detail, const std::string& authority) {
    detail.ClearRecord();
    detail.Fields(static_cast<int>(record.kind->lAuhorityIDX)).PutWithoutVerification(authority);
    return detail.Read();
  }

  /// What differs from the values after of the change file, the empty text when nothing does;
  /// the values now are the values before of the undo's change rows.
  std::string Differences(const RecordChange& record, host::DataSource& header,
                          host::DataSource* detail) {
    std::string differences;
    auto compare = [&](const std::string& field, const std::string& now, const std::string& after) {
      recorder_.Before(field, now);
      if (!sameValue(now, after) && differences.empty()) {
        differences = "Changed since: " + field + " is \"" + platform::TrimRight(now) +
                      "\", not \"" + after + "\".";
      }
    };
    for (const FieldChange& field : record.fields) {
      compare(field.field, header.Fields(field.field).Text(), field.after);
    }
    for (const RowChange& row : record.rows) {
      if (!detail) return "Its kind has no detail rows.";
      const bool present = ReadRow(record, *detail, row.authority);
      compare(DetailField(row.authority, kRowField), present ? kPresent : kAbsent,
              row.presentAfter ? kPresent : kAbsent);
      for (const FieldChange& field : row.fields) {
        compare(DetailField(row.authority, field.field),
                present ? detail->Fields(field.field).Text() : "", field.after);
      }
    }
    return differences;
  }

  static void Put(host::DataSource& source, const FieldChange& field) {
    host::Field target = source.Fields(field.field);
    // Class 0 stands for "no class" beyond the tax group's authorities, which the ERP has no
    // class to verify against; the conversion writes it unverified too.
    const bool unverified = field.before.empty() || field.before == "0";
    if (unverified) {
      target.PutWithoutVerification(valueFor(target, field.before));
    } else {
      target.PutWithVerification(valueFor(target, field.before));
    }
  }

  void PutBack(const RecordChange& record, host::DataSource& header, host::DataSource* detail) {
    for (const FieldChange& field : record.fields) {
      Put(header, field);
      recorder_.After(field.field, header.Fields(field.field).Text());
    }
    for (const RowChange& row : record.rows) {
      host::Field authority = detail->Fields(static_cast<int>(record.kind->lAuhorityIDX));
      if (row.presentBefore) {
        if (ReadRow(record, *detail, row.authority)) {
          for (const FieldChange& field : row.fields) Put(*detail, field);
          detail->Update();
        } else {
          detail->ClearRecord();
          authority.PutWithVerification(row.authority);
          for (const FieldChange& field : row.fields) Put(*detail, field);
          detail->Insert();
        }
      } else if (ReadRow(record, *detail, row.authority)) {
        detail->Delete();
      }
      recorder_.After(DetailField(row.authority, kRowField),
                      row.presentBefore ? kPresent : kAbsent);
      for (const FieldChange& field : row.fields) {
        recorder_.After(DetailField(row.authority, field.field),
                        row.presentBefore ? detail->Fields(field.field).Text() : "");
      }
    }
  }

  std::string SessionMessages(const std::exception& error) {
    std::string text;
    if (host::Session* session = connection_.Session()) {
      host::ErrorCollection& errors = session->Errors();
      for (int i = 0; i < errors.Count(); ++i) text += (text.empty() ? "" : " ") + errors.Text(i);
    }
    return text.empty() ? error.what() : text;
  }

  void Report(const std::string& line) {
    Log(line);
    result_.reports.push_back(line);
  }

  void End(RecordOutcome outcome, const std::string& detail = "") {
    recorder_.EndRecord(outcome, detail);
    recorder_.Flush();
    if (host::Session* session = connection_.Session()) session->Errors().Clear();
  }

  KindControls& controls_;
  host::AccpacConnection& connection_;
  ChangeRecorder& recorder_;
  UndoResult& result_;
};

std::string refusal(const std::filesystem::path& file, const std::string& why) {
  return "The change file " + file.string() + " cannot be undone: " + why;
}

/// Claims the kinds of the records for this undo; another run converting one refuses it.
std::vector<std::unique_ptr<host::KindClaim>> claimKinds(const std::vector<RecordChange>& records,
                                                         host::AccpacConnection& connection,
                                                         const std::filesystem::path& file) {
  std::vector<std::unique_ptr<host::KindClaim>> claims;
  std::map<std::string, bool> claimed;
  host::Session& session = *connection.Session();
  for (const RecordChange& record : records) {
    if (claimed[record.kind->logName]) continue;
    claimed[record.kind->logName] = true;
    auto claim =
        std::make_unique<host::KindClaim>(connection.getLogPath(), record.kind->logName,
                                          session.UserID(), std::chrono::system_clock::now());
    if (const auto& other = claim->OtherHolder()) {
      throw ChangeFileError(refusal(file, record.kind->logName + " of company " +
                                              session.CompanyID() +
                                              " are being converted by user " + other->user +
                                              " since " + other->started + "."));
    }
    if (!claim->Held()) {
      throw ChangeFileError(refusal(file, record.kind->logName + " of company " +
                                              session.CompanyID() +
                                              " cannot be claimed: " + claim->Problem() + "."));
    }
    claims.push_back(std::move(claim));
  }
  return claims;
}

}  // namespace

UndoResult UndoChangeFile(const std::filesystem::path& file, KindControls& controls,
                          host::AccpacConnection& connection, const std::string& job,
                          const std::function<bool(size_t done, size_t total)>& proceed) {
  ChangeFileContents contents;
  std::vector<RecordChange> records;
  try {
    contents = ReadChangeFile(file);
    records = ConvertedRecords(contents);
  } catch (const ChangeFileError& error) {
    throw ChangeFileError(refusal(file, error.what()));
  }
  host::Session& session = *connection.Session();
  if (!sameValue(contents.header.company, session.CompanyID())) {
    throw ChangeFileError(refusal(file, "it belongs to company " + contents.header.company +
                                            ", not to " + session.CompanyID() + "."));
  }
  if (contents.header.mode == ChangeRunMode::Preview) {
    throw ChangeFileError(refusal(file, "it is a preview's, which saved nothing."));
  }
  const auto claims = claimKinds(records, connection, file);

  UndoResult result;
  result.undoneRunFinished = contents.finished;
  result.logFile = connection.getLogFileName("", "_Undo");
  const auto started = std::chrono::system_clock::now();
  ChangeFileWriter changeFile(connection.LogFolderOnDisk(),
                              {.build = host::GetProgramBuild(),
                               .company = session.CompanyID(),
                               .user = session.UserID(),
                               .job = job,
                               .started = IsoLocalTime(started),
                               .tab = contents.header.tab,
                               .mode = ChangeRunMode::Undo,
                               .undoes = file.string()},
                              started);
  ChangeRecorder recorder(changeFile, false);
  Undo undo(controls, connection, recorder, result);
  undo.Log("Ordavel undo of " + file.string() + " started.");
  undo.Log("");
  undo.Log("Performed by user: " + session.UserID());
  if (!contents.finished) undo.Log("The run that wrote it did not finish.");
  undo.Log("");
  for (size_t done = 0; done < records.size(); ++done) {
    if (proceed && !proceed(done, records.size())) {
      result.cancelled = true;
      break;
    }
    undo.Record(records[done]);
  }
  undo.Log("");
  undo.Log(result.cancelled ? "Ordavel undo canceled." : "Ordavel undo completed.");
  for (const auto& [kind, counts] : result.kinds) {
    undo.Log("\t" + std::to_string(counts.records) + " " + kind + " to undo, " +
             std::to_string(counts.updated) + " put back, " + std::to_string(counts.skipped) +
             " changed since, " + std::to_string(counts.failed) + " failed.");
  }
  undo.Log(std::string(80, '='));
  recorder.Finish();
  result.changeFile = changeFile.Path();
  return result;
}

std::string UndoCountsLine(const std::string& kind, const KindCounts& counts) {
  return kind + ": " + std::to_string(counts.records) + " to undo, " +
         std::to_string(counts.updated) + " put back, " + std::to_string(counts.skipped) +
         " changed since, " + std::to_string(counts.failed) + " failed";
}

bool UndoResult::Whole() const {
  return undoneRunFinished && !cancelled &&
         std::all_of(kinds.begin(), kinds.end(), [](const auto& kind) {
           return kind.second.skipped == 0 && kind.second.failed == 0;
         });
}

}  // namespace convert
