#include "convert/ConversionEngine.h"
#include "convert/RecordTexts.h"

#include <optional>

namespace convert {

void ConversionEngine::ConvertTaxGroupRecords(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to,
                                              grids::CriteriaField& criteria) {
  host::DataSource& header = *to.adsHeader();
  try {
    LogCriteria(criteria);
    Write("");
    const std::string filter = CombineFilters(to.Filter(), criteria.Filter());
    ForEachRecord(
        header, filter, [&to](std::int32_t records) { to.lRecords(records); },
        [&] {
          if (classMaps_ != nullptr && !classMaps_->empty() && from.Grid() != nullptr) {
            if (MatchClassMap(from, to)) {
              ConvertTaxGroupRecord(to);
            } else {
              SkipTaxGroupRecord(to, "tax classes " + RecordClasses(from) + " match no class map");
            }
          } else if (from.TaxClassesMatch()) {
            ConvertTaxGroupRecord(to);
          } else {
            SkipTaxGroupRecord(to, "tax classes do not match");
          }
        });
    LogConversionSummary(to);
  } catch (const std::exception& error) {
    CountUnsavedAsFailed(to);
    std::string failed;
    try {
      failed = FailedText(header);
    } catch (const std::exception&) {
      failed = KindFailedText(header);
    }
    LogKindFailure(&error, failed);
  }
}

void ConversionEngine::SkipTaxGroupRecord(grids::TaxGroupGrid& to, const std::string& reason) {
  host::DataSource& header = *to.adsHeader();
  if (recorder_) {
    BeginChanges(header, ProbeOf(header, ChangedFieldsOf(to)));
    EndChanges(nullptr, RecordOutcome::Skipped, reason);
  }
  Write(SkippedText(header));
  to.lSkipped(to.lSkipped() + 1);
}

void ConversionEngine::ConvertTaxGroupRecord(grids::TaxGroupGrid& to) {
  host::DataSource& header = *to.adsHeader();
  const std::vector<int>& fields = ChangedFieldsOf(to);
  try {
    ShowProcessing(ConvertingText(header));
    // The record's level starts after the window messages ran: the first record of a batch
    // holds no lock while they do. A preview takes no level, so it holds no lock at all.
    std::optional<RecordLevel> record;
    if (!Previewing()) record.emplace(batches_);
    host::RecordProbe probe = ProbeOf(header, fields);
    BeginChanges(header, probe);
    to.GetTaxRegistrations();
    header.Fields(to.lTaxGroupIDX()).PutWithVerification(to.afecTaxGroup()->Value());
    to.PutTaxClasses();
    if (!header.PendingChanges()) {
      EndChanges(nullptr, RecordOutcome::Unchanged);
    } else if (Previewing()) {
      to.lUpdated(to.lUpdated() + 1);
      Converted(probe, header);
      EndChanges(&probe, RecordOutcome::Converted);
    } else {
      header.Update();
      if (header.LastReturnCode() == 0) {
        Converted(probe, header);
        EndChanges(&probe, RecordOutcome::Converted);
        record->Keep({std::move(probe)});
        to.lUpdated(to.lUpdated() + 1);
        Write(SucceededText(header));
        LogTaxRegistrations(to);
      } else {
        to.lFailed(to.lFailed() + 1);
        EndChanges(nullptr, RecordOutcome::Failed, SessionMessages());
        Write(FailedText(header));
      }
    }
    LogSessionErrors(0);
    ShowProcessing("");
  } catch (const std::exception& error) {
    // The record stays as it was: nothing of it was updated. It counts as failed, so that a run
    // whose records were all refused does not end as complete.
    ShowProcessing("");
    to.lFailed(to.lFailed() + 1);
    EndChanges(nullptr, RecordOutcome::Failed, SessionMessages(&error));
    Write(FailedText(header));
    LogSessionErrors(0);
  }
}

std::vector<int> ConversionEngine::TaxGroupFields(grids::TaxGroupGrid& to) {
  std::vector<int> fields = {static_cast<int>(to.lTaxGroupIDX())};
  if (to.Grid() == nullptr || to.TaxClassFieldPrefix().empty()) return fields;
  for (int n = 1; n <= grids::TaxGroupGrid::kAuthorities; ++n) {
    fields.push_back(to.adsHeader()->Fields(to.TaxClassFieldPrefix() + std::to_string(n)).Index());
  }
  return fields;
}

void ConversionEngine::LogTaxRegistrations(grids::TaxGroupGrid& grid) {
  if (grid.TaxRegistrationFieldPrefix().empty() || grid.TaxClassFieldPrefix().empty()) return;
  for (int i = 1; i <= grids::TaxGroupGrid::kAuthorities; ++i) {
    const std::string id = grid.GetTaxRegistrationID(i);
    const std::string taxClass = grid.GetTaxRegistrationClass(i);
    if (id.empty() || taxClass.empty()) continue;
    Write("\t" + grid.GetTaxRegistrationAuthority(i) + "-" + taxClass +
          ", Registration Number = " + id);
  }
}

}  // namespace convert
