#include "convert/ConversionEngine.h"

#include "convert/GridDump.h"
#include "convert/RecordTexts.h"
#include "host/HostError.h"
#include "platform/Text.h"

namespace convert {
namespace {

const char* const kTitle = "Ordavel";

}  // namespace

ConversionEngine::ConversionEngine(host::AccpacConnection& connection, RunState& state,
                                   RunObserver& observer)
    : connection_(connection), state_(state), observer_(observer), batches_(connection, state) {
  // The rows of a batch's records go into the change file once the batch is committed; those of
  // a batch whose commit failed say so instead of claiming records that were not saved.
  batches_.OnCommit([this](bool committed) {
    if (committed) observer_.BatchCommitted();
    if (!recorder_) return;
    if (!committed) recorder_->FailHeld("the commit of its batch failed");
    recorder_->Flush();
  });
  // They are staged with the batch's log lines, so that a kill before they are written loses
  // none of them: settling the batch writes them.
  batches_.OnStage([this](host::StagedBatch& batch) {
    if (!recorder_ || Previewing() || !recorder_->Writer().Writing()) return;
    batch.changeFile = recorder_->Writer().Path().string();
    batch.changeSize = recorder_->Writer().End();
    batch.changeRows = recorder_->HeldRows();
  });
}

void ConversionEngine::Write(const std::string& line, std::int16_t indent) {
  if (Previewing()) return;
  if (batches_.Open()) {
    batches_.Hold(connection_.LogLine(indent, line));
  } else {
    connection_.WriteLog(indent, state_.CurrentLogFile, line);
  }
}

void ConversionEngine::CopyTaxGroupGridSettings(grids::TaxGroupGrid& from,
                                                grids::TaxGroupGrid& to) {
  // Setting the header clears the other settings and the counters, so it comes first.
  to.adsHeader(from.adsHeader());
  to.Filter(from.Filter());
  to.lTaxGroupIDX(from.lTaxGroupIDX());
  to.TaxClassFieldPrefix(from.TaxClassFieldPrefix());
  to.TaxRegistrationFieldPrefix(from.TaxRegistrationFieldPrefix());
}

void ConversionEngine::StartLogFile(const std::string& logName, host::DataSource& header,
                                    host::DataSource* detail) {
  state_.CurrentLogFile = connection_.getLogFileName("", "_" + platform::Trim(logName));
  if (recorder_) recorder_->StartKind(platform::Trim(logName));
  kindFields_.clear();
  // A preview writes nothing, not even what a stopped run of the kind left to settle.
  if (!Previewing()) batches_.StartKind(logName, header, detail);
  Write(std::string(kTitle) + " for " + header.Description() + " started.");
  Write("");
  Write("Performed by user: " + connection_.Session()->UserID());
  Write("");
}

void ConversionEngine::LogMappingHeader(grids::TaxGroupGrid& grid) {
  Write(grid.Caption() + " [" + grid.afecTaxGroup()->Value() + "] ");
  if (grid.Grid()) LogGrid(grid, 0);
  Write("");
}

void ConversionEngine::StartTaxGroupLog(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to,
                                        const std::string& logName) {
  StartLogFile(logName, *from.adsHeader(), nullptr);
  LogMappingHeader(from);
  LogMappingHeader(to);
  mapInGrids_ = nullptr;
  notAffected_ = 0;
  if (classMaps_ != nullptr && !classMaps_->empty() && from.Grid() != nullptr) LogClassMaps();
}

void ConversionEngine::StartTaxAuthorityLog(grids::TaxAuthorityGrid& grid,
                                            const std::string& logName) {
  StartLogFile(logName, *grid.adsHeader(), grid.adsDetail());
  notAffected_ = 0;
}

void ConversionEngine::LogRange(host::FieldEditControl& from, host::FieldEditControl& to) {
  Write("From " + from.AccpacField().Description() + " [" + from.Value() + "] to " +
        to.AccpacField().Description() + " [" + to.Value() + "]");
}

std::string CombineFilters(const std::string& kindFilter, const std::string& criteria) {
  if (!kindFilter.empty() && !criteria.empty()) {
    return "(" + kindFilter + ") AND (" + criteria + ")";
  }
  return kindFilter.empty() ? criteria : kindFilter;
}

void ConversionEngine::LogCriteria(grids::CriteriaField& criteria) {
  if (!criteria.Filter().empty()) Write("Additional Criteria: " + criteria.Filter());
}

void ConversionEngine::WriteSummary(const KindCounters& counters) {
  const std::string description = counters.header.Description();
  if (observer_.CancelRequested()) state_.CancelRequested = true;
  Write("");
  Write(std::string(kTitle) + " for " + description +
        (state_.CancelRequested ? " canceled." : " completed."));
  state_.lTotalUpdated += counters.updated;
  state_.lTotalFailed += counters.failed;
  state_.lTotalSkipped += counters.skipped;
  Write("");
  Write("\t" + std::to_string(counters.records) + " " + description + " to convert.");
  if (counters.records != 0) {
    Write("\t" + std::to_string(counters.updated) + " " + description + " converted.");
    if (counters.skipped > 0) {
      Write("\t" + std::to_string(counters.skipped) + " " + description + counters.skippedWording);
    }
    if (counters.notAffected > 0) {
      Write("\t" + std::to_string(counters.notAffected) + " " + description + " not affected.");
    }
  }
  if (counters.failed != 0) {
    Write("");
    Write("\t" + std::to_string(counters.failed) + " " + description + " could not be updated.");
  }
  Write("");
  LogSessionErrors(0);
  Write(std::string(80, '='));
}

void ConversionEngine::LogConversionSummary(grids::TaxGroupGrid& grid) {
  WriteSummary({*grid.adsHeader(), grid.lRecords(), grid.lUpdated(), grid.lSkipped(),
                grid.lFailed(), " skipped. Tax classes do not match.", 0});
}

void ConversionEngine::LogConversionSummary(grids::TaxAuthorityGrid& grid) {
  WriteSummary({*grid.adsHeader(), grid.lRecords(), grid.lUpdated(), grid.lSkipped(),
                grid.lFailed(), " skipped. No operations were performed.", notAffected_});
}

void ConversionEngine::LogSessionErrors(std::int16_t indent) {
  host::Session* session = connection_.Session();
  if (!session) return;
  host::ErrorCollection& errors = session->Errors();
  for (int i = 0; i < errors.Count(); ++i) Write(errors.Text(i), indent);
  errors.Clear();
}

void ConversionEngine::LogGrid(grids::TaxGroupGrid& grid, std::int16_t indent) {
  for (const std::string& line :
       GridTableLines(*grid.Grid(), grid.GridCaptions(), grid.GridAlignment())) {
    Write(line, indent);
  }
}

void ConversionEngine::LogGrid(grids::TaxAuthorityGrid& grid, std::int16_t indent) {
  for (const std::string& line :
       GridTableLines(*grid.Grid(), grid.GridCaptions(), grid.GridAlignment())) {
    Write(line, indent);
  }
}

void ConversionEngine::LogKindFailure(const std::exception* error, const std::string& failedLine) {
  ++state_.lKindsFailed;
  if (error) Write(error->what());
  Write("");
  Write(failedLine);
  LogSessionErrors(0);
  Write(std::string(80, '='));
}

bool ConversionEngine::PollCancel() {
  observer_.LetEventsRun();
  if (observer_.CancelRequested()) state_.CancelRequested = true;
  return state_.CancelRequested;
}

void ConversionEngine::ShowProcessing(const std::string& text) {
  observer_.Processing(text);
  observer_.LetEventsRun();
}

void ConversionEngine::InitProgress(std::int32_t maximum) {
  observer_.RecordsCounted(maximum);
  observer_.LetEventsRun();
}

std::int32_t ConversionEngine::ForEachRecord(host::DataSource& header, const std::string& filter,
                                             const std::function<void(std::int32_t)>& setCount,
                                             const std::function<void()>& convertRecord) {
  const std::int32_t records = header.Count(filter, 0);
  setCount(records);
  if (records <= 0) return records;
  InitProgress(records);
  ResetKeyFields(header);
  header.Browse(filter, true);
  try {
    while (true) {
      const bool cancel = PollCancel();
      const bool fetched = header.Fetch(false);
      if (!fetched || cancel) break;
      convertRecord();
      batches_.RecordHandled();
      StepProgress();
    }
  } catch (...) {
    // What the open batch converted is committed before the error is logged after it; a commit
    // that fails drops the batch, and the loop's error is the one reported.
    try {
      batches_.Commit();
      if (!Previewing()) batches_.EndKind();
    } catch (const std::exception&) {
    }
    throw;
  }
  batches_.Commit();
  if (!Previewing()) batches_.EndKind();
  return records;
}

host::RecordProbe ConversionEngine::ProbeOf(host::DataSource& source,
                                            const std::vector<int>& fields) {
  host::RecordProbe probe;
  for (int number : source.Keys().front().fields) {
    probe.key.emplace_back(number, source.Fields(number).Text());
  }
  for (int number : fields) probe.fields.push_back({number, source.Fields(number).Text(), {}});
  return probe;
}

void ConversionEngine::Converted(host::RecordProbe& probe, host::DataSource& source) {
  for (host::RecordProbe::FieldState& field : probe.fields) {
    field.after = source.Fields(field.number).Text();
  }
}

void ConversionEngine::StepProgress() {
  observer_.RecordDone();
  observer_.LetEventsRun();
}

}  // namespace convert
