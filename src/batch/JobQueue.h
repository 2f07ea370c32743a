#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobFile.h"
#include "batch/JobSession.h"
#include "batch/Progress.h"
#include "batch/Summary.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// A job and the company it runs on.
struct QueuedJob {
  Job job;
  std::string company;
};

/// Reads every job file and queues each job for each of `companies` in turn: every job on the
/// first company, then every job on the next. Without companies each job runs on the one it
/// names. Throws JobFileError with the problems of every file.
std::vector<QueuedJob> QueueJobs(const std::vector<std::string>& files,
                                 const std::vector<std::string>& companies);

/// Runs the queued jobs in order and prints one summary; returns the worst status of those run.
/// With more than one job, each is first signed on, entered and checked as Convert checks it,
/// and every kind of every job is claimed; nothing is converted unless every one passes, and the
/// claims are held until the last job has run. Then they run in order, and the first one refused
/// or cancelled stops the rest.
/// With `preview`, each job is previewed instead: nothing is saved. With `results`, what each
/// job did is handed back there instead of being printed as the summary. With `gate`, every job
/// is checked and claimed first even when there is only one, and then the gate decides whether
/// they run (false: nothing is converted and the status is cancelled).
ExitStatus RunJobs(const std::vector<QueuedJob>& queue, Workstation& station,
                   ProgressDisplay& progress, std::ostream& out, bool preview = false,
                   std::vector<JobResult>* results = nullptr,
                   const std::function<bool()>& gate = nullptr);

}  // namespace batch
