#include "convert/ChangeUndo.h"

#include "convert/KindControlSet.h"
#include "convert/changes/ChangeFileWriter.h"
#include "convert/changes/ChangeRecorder.h"
#include "host/KindClaim.h"
#include "host/VersionInfo.h"
#include "platform/Text.h"

#include <algorithm>
#include <chrono>

namespace convert {
namespace {

std::string Refusal(const std::filesystem::path& file, const std::string& why) {
  return "The change file " + file.string() + " cannot be undone: " + why;
}

}  // namespace

ChangeFileToUndo::ChangeFileToUndo(UndoRequest request) : request_(std::move(request)) {
  try {
    reader_ = std::make_unique<ChangeFileReader>(request_.file);
    if (reader_->Header().mode == ChangeRunMode::Preview) {
      throw ChangeFileError("it is a preview's, which saved nothing.");
    }
    Scan();
  } catch (const ChangeFileError& error) {
    Refuse(error);
  }
  if (!request_.company.empty()) CheckCompany(request_.company);
}

void ChangeFileToUndo::Refuse(const ChangeFileError& error) const {
  if (dynamic_cast<const ChangeFileChanged*>(&error)) {
    throw ChangeFileError(Path().string() + " was changed after it was written.");
  }
  throw ChangeFileError(Refusal(Path(), error.what()));
}

void ChangeFileToUndo::Scan() {
  reader_->Restart(digest_.get());
  ChangedRecords records(*reader_);
  kinds_.clear();
  converted_ = 0;
  while (std::optional<RecordChange> record = records.Next()) {
    CheckTab(*record, Header().tab);
    if (rules_) rules_->Check(*record);
    if (!record->Converted()) continue;
    ++converted_;
    if (std::find(kinds_.begin(), kinds_.end(), record->kind) == kinds_.end()) {
      kinds_.push_back(record->kind);
    }
  }
  finished_ = reader_->Finished();
}

void ChangeFileToUndo::CheckCompany(const std::string& company) const {
  if (platform::TrimRight(Header().company) == platform::TrimRight(company)) return;
  throw ChangeFileError(
      Refusal(Path(), "it belongs to company " + Header().company + ", not to " + company + "."));
}

void ChangeFileToUndo::CheckFor(KindControls& controls, host::AccpacConnection& connection) {
  host::Session& session = *connection.Session();
  CheckCompany(session.CompanyID());
  std::string key;
  try {
    key = session.ChangeFileKey(true);
  } catch (const std::exception& error) {
    throw ChangeFileError(Refusal(
        Path(),
        "the company's key that proves change files cannot be had. " + std::string(error.what())));
  }
  digest_ = std::make_unique<ChangeDigest>(key);
  rules_ = std::make_unique<UndoRules>(controls, Header().tab);
  try {
    Scan();
  } catch (const ChangeFileError& error) {
    Refuse(error);
  }
}

void ChangeFileToUndo::ForEachConverted(const std::function<bool(const RecordChange&)>& undo) {
  try {
    reader_->Restart(digest_.get());
    ChangedRecords records(*reader_);
    while (std::optional<RecordChange> record = records.Next()) {
      rules_->Check(*record);
      if (record->Converted() && !undo(*record)) return;
    }
  } catch (const ChangeFileError& error) {
    Refuse(error);
  }
}

namespace {

/// Claims the kinds of the tab for this undo. Another run converting a kind of the file refuses
/// it; the other kinds of the tab are claimed only to settle what a killed run of them left.
std::vector<std::unique_ptr<host::KindClaim>> ClaimKinds(ChangeFileToUndo& file,
                                                         host::AccpacConnection& connection,
                                                         std::vector<const KindDef*>& claimed) {
  std::vector<std::unique_ptr<host::KindClaim>> claims;
  host::Session& session = *connection.Session();
  for (const KindDef* kind : TabKinds(file.Header().tab)) {
    auto claim = std::make_unique<host::KindClaim>(
        connection.getLogPath(), kind->logName, session.UserID(), std::chrono::system_clock::now());
    const bool needed =
        std::find(file.Kinds().begin(), file.Kinds().end(), kind) != file.Kinds().end();
    if (const auto& other = claim->OtherHolder(); other && needed) {
      throw ChangeFileError(Refusal(file.Path(), kind->logName + " of company " +
                                                     session.CompanyID() +
                                                     " are being converted by user " + other->user +
                                                     " since " + other->started + "."));
    }
    if (!claim->Held() && needed) {
      throw ChangeFileError(
          Refusal(file.Path(), kind->logName + " of company " + session.CompanyID() +
                                   " cannot be claimed: " + claim->Problem() + "."));
    }
    if (!claim->Held()) continue;
    claimed.push_back(kind);
    claims.push_back(std::move(claim));
  }
  return claims;
}

/// The tax views and the views of the tab's kinds, where its module is active, as start-up opens
/// them for the window.
void OpenSources(KindControlSet& controls, const std::string& tab,
                 host::AccpacConnection& connection) {
  for (const SourceDef& def : TaxSources()) controls.Open(connection, def);
  if (!IsModuleActive(connection, tab)) return;
  for (const SourceDef& def : TabSources(tab)) controls.Open(connection, def);
}

void LogCounts(UndoRecords& undo, const UndoResult& result) {
  undo.Log("");
  undo.Log(result.cancelled ? "Ordavel undo canceled." : "Ordavel undo completed.");
  for (const auto& [kind, counts] : result.kinds) {
    undo.Log("\t" + std::to_string(counts.records) + " " + kind + " to undo, " +
             std::to_string(counts.updated) + " put back, " + std::to_string(counts.skipped) +
             " changed since, " + std::to_string(counts.failed) + " failed.");
  }
  undo.Log(std::string(80, '='));
}

}  // namespace

UndoResult UndoChangeFile(ChangeFileToUndo& file, host::AccpacConnection& connection,
                          host::DataSourceFactory& dataSources, RunObserver& observer) {
  NoFilterWindow noFilterWindow;
  KindControlSet controls(
      {dataSources, [&connection] { return connection.NewErrorDisplay(); }, noFilterWindow});
  OpenSources(controls, file.Header().tab, connection);
  file.CheckFor(controls, connection);
  std::vector<const KindDef*> claimed;
  auto claims = ClaimKinds(file, connection, claimed);
  // A killed run's change file, this one too, is made whole before it is read again.
  MendChangeFiles(connection.LogFolderOnDisk());
  SettleKinds(claimed, controls, connection);
  file.CheckFor(controls, connection);
  // The kinds the undo does not touch are free again for other runs.
  for (size_t i = claims.size(); i-- > 0;) {
    if (std::find(file.Kinds().begin(), file.Kinds().end(), claimed[i]) == file.Kinds().end()) {
      claims.erase(claims.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }

  host::Session& session = *connection.Session();
  UndoResult result;
  result.logFile = connection.getLogFileName("", "_Undo");
  result.undoneRunFinished = file.Finished();
  const auto started = std::chrono::system_clock::now();
  ChangeFileWriter changeFile(connection.LogFolderOnDisk(),
                              {.build = host::GetProgramBuild(),
                               .company = session.CompanyID(),
                               .user = session.UserID(),
                               .job = file.Request().job,
                               .started = IsoLocalTime(started),
                               .tab = file.Header().tab,
                               .mode = ChangeRunMode::Undo,
                               .undoes = file.Path().string()},
                              started, file.Digest());
  ChangeRecorder recorder(changeFile, false);
  UndoRecords undo(controls, connection, file.Rules(), recorder, result.logFile, result,
                   [&observer] { observer.BatchCommitted(); });
  undo.Log("Ordavel undo of " + file.Path().string() + " started.");
  undo.Log("");
  undo.Log("Performed by user: " + session.UserID());
  if (!result.undoneRunFinished) undo.Log("The run that wrote it did not finish.");
  undo.Log("");
  observer.RecordsCounted(static_cast<std::int32_t>(file.ConvertedRecords()));
  try {
    file.ForEachConverted([&](const RecordChange& record) {
      observer.LetEventsRun();
      if (observer.CancelRequested()) {
        result.cancelled = true;
        return false;
      }
      undo.Record(record);
      observer.RecordDone();
      return true;
    });
  } catch (const ChangeFileError& error) {
    result.stoppedBy = error.what();
    result.AddReport(error.what());
  }
  undo.EndKind();
  LogCounts(undo, result);
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
  return undoneRunFinished && !cancelled && stoppedBy.empty() &&
         std::all_of(kinds.begin(), kinds.end(), [](const auto& kind) {
           return kind.second.skipped == 0 && kind.second.failed == 0;
         });
}

}  // namespace convert
