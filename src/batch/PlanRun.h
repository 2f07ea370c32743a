#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobSession.h"
#include "batch/Progress.h"
#include "batch/Summary.h"
#include "convert/Plan.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// Carries out a plan: signs on to each of its companies and checks the plan against each one
/// before anything runs (every problem of every company is listed, and one refuses the whole
/// plan); modules a company does not run are skipped and listed. Then every kind of every
/// company is claimed, and the plan's requests run company by company, module by module; the
/// output ends with one table of companies by kinds. A conversion writes a plan-run file that
/// lists every change file with its digest and is named by its full path. With `preview`
/// nothing is saved and no plan-run file is written.
ExitStatus RunPlan(const convert::Plan& plan, Workstation& station, ProgressDisplay& progress,
                   std::ostream& out, bool preview);

/// The plan's companies: those it names, or every company the user may sign on to.
std::vector<std::string> PlanCompanies(const convert::Plan& plan, Workstation& station,
                                       std::ostream& out);

/// Checks the plan on `companies` and, when it passes, runs its requests in order (claimed
/// first; with `gate` the gate decides after the claims whether they run); what each request
/// did goes to `results`.
ExitStatus CheckAndRunPlan(const convert::Plan& plan, const std::vector<std::string>& companies,
                           Workstation& station, ProgressDisplay& progress, std::ostream& out,
                           bool preview, std::vector<JobResult>& results,
                           const std::function<bool()>& gate = nullptr);

/// Ends a plan's run: the table of what its requests did and, for a conversion, the plan-run
/// file named by its full path.
void FinishPlan(const convert::Plan& plan, const std::vector<JobResult>& results, std::ostream& out,
                bool preview);

/// Checks the plan on every company, read-only, and says what is refused or that it passes;
/// nothing is converted or previewed.
ExitStatus CheckPlanOnly(const convert::Plan& plan, Workstation& station, std::ostream& out);

/// Prints the table of a plan's companies by kinds: records selected, converted (or that would
/// be), skipped, not affected and failed.
void PrintPlanTable(std::ostream& out, const std::vector<JobResult>& jobs, bool preview);

}  // namespace batch
