#include "batch/JobQueue.h"

#include "batch/KindWatch.h"
#include "batch/Runner.h"
#include "batch/Summary.h"
#include "platform/Text.h"

namespace batch {
namespace {

std::string Where(const QueuedJob& queued) {
  return queued.job.file + " on " + queued.company;
}

/// A preview only reads: its company is opened so that it cannot write any byte of it.
host::CompanyAccess AccessOf(bool preview) {
  return preview ? host::CompanyAccess::ReadOnly : host::CompanyAccess::ReadWrite;
}

/// Signs on for every job and checks it as Convert would, converting nothing; with `claims`
/// every kind of every job is claimed into it too. Prints the problems of every job refused and
/// returns the status that ends the batch, if one does.
std::optional<ExitStatus> CheckEveryJob(const std::vector<QueuedJob>& queue, Workstation& station,
                                        host::HeldClaims* claims, std::ostream& out,
                                        host::CompanyAccess access) {
  std::optional<ExitStatus> refused;
  for (const QueuedJob& queued : queue) {
    if (station.interrupts.Interrupted()) return kCancelled;
    JobSession session(station, queued.job.user, queued.company, access);
    if (!session.Load()) {
      out << Where(queued) << ": the sign-on or the start-up failed.\n";
      out << "Nothing was converted.\n";
      return kCancelled;
    }
    const std::vector<std::string> problems = CheckJob(queued.job, session, claims);
    if (problems.empty()) continue;
    out << Where(queued) << " is refused:\n";
    for (const std::string& problem : problems) out << problem << '\n';
    refused = kRefused;
  }
  if (refused) out << "Nothing was converted.\n";
  return refused;
}

/// Signs on for one job, runs it and keeps what it did in `result`; true when Convert went past
/// its checks.
bool RunOneJob(const QueuedJob& queued, Workstation& station, host::HeldClaims& claims,
               ProgressDisplay& progress, std::ostream& out, JobResult& result, bool preview) {
  JobSession session(station, queued.job.user, queued.company, AccessOf(preview));
  if (!session.Load()) {
    result.status = kCancelled;
    return false;
  }
  KindWatch watch(progress, station);
  result.preview = preview;
  result.status = preview ? PreviewJob(queued.job, session, watch, out, &result.changeFile)
                          : RunJob(queued.job, session, watch, out, &claims, &result.changeFile);
  result.kinds = watch.Kinds();
  return result.status != kRefused;
}

}  // namespace

std::vector<QueuedJob> QueueJobs(const std::vector<std::string>& files,
                                 const std::vector<std::string>& companies) {
  std::vector<Job> jobs;
  std::string problems;
  for (const std::string& file : files) {
    try {
      jobs.push_back(ReadJobFile(file));
    } catch (const JobFileError& error) {
      problems += (problems.empty() ? "" : "\n") + std::string(error.what());
    }
  }
  if (!problems.empty()) throw JobFileError(problems);
  std::vector<QueuedJob> queue;
  if (companies.empty()) {
    for (const Job& job : jobs) queue.push_back({job, job.company});
  }
  for (const std::string& company : companies) {
    for (const Job& job : jobs) queue.push_back({job, platform::UpperCase(company)});
  }
  return queue;
}

ExitStatus RunJobs(const std::vector<QueuedJob>& queue, Workstation& station,
                   ProgressDisplay& progress, std::ostream& out, bool preview,
                   std::vector<JobResult>* collected, const std::function<bool()>& gate) {
  progress.SetPreview(preview);
  // Every kind of every job stays claimed until the last job has run, so that no other run
  // takes one of them between the check and the job that converts it. A preview claims nothing.
  host::HeldClaims claims;
  if (queue.size() > 1 || gate) {
    std::optional<ExitStatus> refused =
        CheckEveryJob(queue, station, preview ? nullptr : &claims, out, AccessOf(preview));
    if (refused) return *refused;
  }
  if (gate && !gate()) {
    out << "Nothing was converted.\n";
    return kCancelled;
  }
  std::vector<JobResult> results;
  for (const QueuedJob& queued : queue) {
    results.push_back({queued.job.file, queued.company, {}, {}, preview, {}});
  }
  // A summary once a job got past its checks: before that nothing was converted.
  bool pressed = false;
  ExitStatus stopped = kComplete;
  for (size_t i = 0; i < queue.size(); ++i) {
    // An interrupt between two runs has no Cancel button to press: it stops the batch here.
    if (station.interrupts.Interrupted()) {
      stopped = kCancelled;
      break;
    }
    if (queue.size() > 1) out << (i > 0 ? "\n" : "") << "Job " << Where(queue[i]) << '\n';
    pressed = RunOneJob(queue[i], station, claims, progress, out, results[i], preview) || pressed;
    if (results[i].status == kRefused || results[i].status == kCancelled) break;
  }
  const ExitStatus status = Worst(StatusOfJobs(results), stopped);
  if (collected) {
    *collected = std::move(results);
  } else if (pressed) {
    PrintSummary(out, results);
  }
  return status;
}

}  // namespace batch
