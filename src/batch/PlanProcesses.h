#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobSession.h"
#include "batch/Progress.h"
#include "batch/Summary.h"
#include "convert/Plan.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// The descriptors through which a company's process of a parallel plan hears whether to
/// convert, tells what it did, and reads the password.
inline constexpr int kGateDescriptor = 3;
inline constexpr int kReportDescriptor = 4;
inline constexpr int kPasswordDescriptor = 5;

/// Runs the plan on one company as a process of a parallel plan: checks the plan there and
/// claims every kind, reports ready (or refused) to the parent, converts only once the parent
/// says go, and reports what each request did.
ExitStatus RunPlanAsChild(const convert::Plan& plan, const std::string& company,
                          Workstation& station, ProgressDisplay& progress, std::ostream& out,
                          bool preview);

/// The arguments of a company's process, after the program's path.
using ChildArguments = std::function<std::vector<std::string>(const std::string& company)>;

/// Runs the plan with one process of this program per company: every process checks its company
/// and claims its kinds first, and none converts unless all are ready (one refusal leaves every
/// company as it was); then up to `parallel` convert at once, each company's kinds in order.
/// Their output follows in company order, then the plan's table and plan-run file, the same as
/// a plan run in one process.
ExitStatus RunPlanInParallel(const convert::Plan& plan, Workstation& station, std::ostream& out,
                             bool preview, int parallel, const ChildArguments& arguments);

/// The lines a company's process reports its requests' results in.
std::string ReportOf(const std::vector<JobResult>& results);
/// The results a report gives.
std::vector<JobResult> ResultsOf(const std::string& report, bool preview);

}  // namespace batch
