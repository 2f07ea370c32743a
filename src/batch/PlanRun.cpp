#include "batch/PlanRun.h"

#include "batch/IniRules.h"
#include "batch/JobQueue.h"
#include "batch/PlanRunFile.h"
#include "batch/Runner.h"
#include "convert/PlanChecks.h"

#include <iomanip>
#include <sstream>

namespace batch {
namespace {

/// The plan's requests on every company, or the problems that refuse it.
struct CheckedPlan {
  std::vector<QueuedJob> queue;
  std::vector<std::string> problems;
};

CheckedPlan CheckPlan(const convert::Plan& plan, const std::vector<std::string>& companies,
                      Workstation& station, std::ostream& out, host::CompanyAccess access) {
  CheckedPlan checked;
  if (companies.empty()) {
    checked.problems.push_back(plan.Where(plan.companiesLine) +
                               "the plan has no company to run on.");
  }
  for (const std::string& company : companies) {
    JobSession session(station, plan.user, company, access);
    if (!session.Load()) {
      checked.problems.push_back(plan.Where(plan.companiesLine) + "user " + plan.user +
                                 " cannot sign on to company " + company + ".");
      continue;
    }
    const convert::CompanyPlan on =
        convert::CheckPlanOnCompany(plan, session.Connection(), station.dataSources);
    for (const std::string& problem : on.problems) {
      checked.problems.push_back(problem + " (company " + company + ")");
    }
    if (!on.skippedTabs.empty()) {
      out << company << " does not run " << JoinList(on.skippedTabs) << ": skipped.\n";
    }
    for (convert::ConversionRequest& request : convert::PlanRequests(plan, company, on.tabs)) {
      checked.queue.push_back(QueuedJob{Job{std::move(request), {}, {}}, company});
    }
  }
  return checked;
}

std::string Cell(std::int32_t number, int width) {
  std::ostringstream text;
  text << std::setw(width) << number;
  return text.str();
}

}  // namespace

std::vector<std::string> PlanCompanies(const convert::Plan& plan, Workstation& station,
                                       std::ostream& out) {
  if (!plan.everyCompany) return plan.companies;
  if (!station.companiesOf) {
    out << plan.Where(plan.companiesLine) << "the site's companies cannot be listed here.\n";
    return {};
  }
  return station.companiesOf(plan.user);
}

ExitStatus CheckAndRunPlan(const convert::Plan& plan, const std::vector<std::string>& companies,
                           Workstation& station, ProgressDisplay& progress, std::ostream& out,
                           bool preview, std::vector<JobResult>& results,
                           const std::function<bool()>& gate) {
  const CheckedPlan checked =
      CheckPlan(plan, companies, station, out,
                preview ? host::CompanyAccess::ReadOnly : host::CompanyAccess::ReadWrite);
  if (!checked.problems.empty()) {
    out << plan.file << " is refused:\n";
    for (const std::string& problem : checked.problems) out << problem << '\n';
    out << (preview ? "Nothing was previewed.\n" : "Nothing was converted.\n");
    return kRefused;
  }
  if (checked.queue.empty()) {
    out << "The plan has nothing to convert on " << JoinList(companies) << ".\n";
    return gate && !gate() ? kCancelled : kComplete;
  }
  return RunJobs(checked.queue, station, progress, out, preview, &results, gate);
}

void FinishPlan(const convert::Plan& plan, const std::vector<JobResult>& results, std::ostream& out,
                bool preview) {
  bool ran = false;
  for (const JobResult& result : results) ran |= result.status.has_value();
  if (!ran) return;
  PrintPlanTable(out, results, preview);
  if (preview) return;
  const std::filesystem::path runFile = WritePlanRunFile(plan, results);
  if (runFile.empty()) {
    out << "The plan-run file could not be written; undo each change file on its own.\n";
  } else {
    out << "Plan-run file: " << runFile.string() << '\n';
  }
}

ExitStatus CheckPlanOnly(const convert::Plan& plan, Workstation& station, std::ostream& out) {
  out << "Plan: " << (plan.title.empty() ? plan.file : plan.title) << '\n';
  const std::vector<std::string> companies = PlanCompanies(plan, station, out);
  const CheckedPlan checked =
      CheckPlan(plan, companies, station, out, host::CompanyAccess::ReadOnly);
  if (!checked.problems.empty()) {
    out << plan.file << " is refused:\n";
    for (const std::string& problem : checked.problems) out << problem << '\n';
    return kRefused;
  }
  out << "The plan passes every check on " << JoinList(companies) << ": " << checked.queue.size()
      << (checked.queue.size() == 1 ? " run" : " runs") << " would convert.\n";
  return kComplete;
}

ExitStatus RunPlan(const convert::Plan& plan, Workstation& station, ProgressDisplay& progress,
                   std::ostream& out, bool preview) {
  out << "Plan: " << (plan.title.empty() ? plan.file : plan.title) << '\n';
  // The backup question is asked once for the whole plan, once every kind is claimed.
  Workstation asked = station;
  asked.confirm = [](const std::string&) { return true; };
  const auto ask = [&station] { return station.confirm(kBackupQuestion); };
  std::vector<JobResult> results;
  const ExitStatus status =
      CheckAndRunPlan(plan, PlanCompanies(plan, station, out), asked, progress, out, preview,
                      results, preview ? std::function<bool()>() : ask);
  FinishPlan(plan, results, out, preview);
  return status;
}

void PrintPlanTable(std::ostream& out, const std::vector<JobResult>& jobs, bool preview) {
  struct Row {
    std::string company, kind;
    convert::KindCounts counts;
  };
  std::vector<Row> rows;
  for (const JobResult& job : jobs) {
    for (const KindResult& kind : job.kinds)
      rows.push_back({job.company, kind.kind, kind.outcome.counts});
  }
  size_t kindWidth = 4;
  for (const Row& row : rows) kindWidth = std::max(kindWidth, row.kind.size());
  const int w = 14;
  out << "\nPlan\n"
      << std::left << std::setw(9) << "Company" << std::setw(static_cast<int>(kindWidth) + 2)
      << "Kind" << std::right << std::setw(w) << "Selected" << std::setw(w)
      << (preview ? "Would convert" : "Converted") << std::setw(w)
      << (preview ? "Would skip" : "Skipped") << std::setw(w) << "Not affected" << std::setw(w)
      << (preview ? "Would fail" : "Failed") << '\n';
  convert::KindCounts total;
  for (const Row& row : rows) {
    out << std::left << std::setw(9) << row.company << std::setw(static_cast<int>(kindWidth) + 2)
        << row.kind << std::right << Cell(row.counts.records, w) << Cell(row.counts.updated, w)
        << Cell(row.counts.skipped, w) << Cell(row.counts.notAffected, w)
        << Cell(row.counts.failed, w) << '\n';
    total.records += row.counts.records;
    total.updated += row.counts.updated;
    total.skipped += row.counts.skipped;
    total.notAffected += row.counts.notAffected;
    total.failed += row.counts.failed;
  }
  out << std::left << std::setw(static_cast<int>(kindWidth) + 11) << "Total" << std::right
      << Cell(total.records, w) << Cell(total.updated, w) << Cell(total.skipped, w)
      << Cell(total.notAffected, w) << Cell(total.failed, w) << '\n';
}

}  // namespace batch
