#pragma once

#include "batch/ExitStatus.h"
#include "convert/KindCounts.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// How one kind of a job ended, named by its description.
struct KindResult {
  std::string kind;
  convert::KindOutcome outcome;
};

/// How one job ended on one company.
struct JobResult {
  std::string job;  ///< the job file as given
  std::string company;
  std::optional<ExitStatus> status;  ///< none when the job was not run
  std::vector<KindResult> kinds;
  bool preview = false;              ///< a preview: the counts say what a conversion would do
  std::filesystem::path changeFile;  ///< the run's change file; empty when it wrote none
};

/// The status of several jobs: the worst of those that ran (see Worst); complete when none ran.
ExitStatus StatusOfJobs(const std::vector<JobResult>& jobs);

/// Prints one table of every kind of every job (to convert, converted, skipped, failed) with
/// their totals, then how each job ended.
void PrintSummary(std::ostream& out, const std::vector<JobResult>& jobs);

}  // namespace batch
