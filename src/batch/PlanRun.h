#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobSession.h"
#include "batch/Progress.h"
#include "batch/Summary.h"
#include "convert/Plan.h"

#include <filesystem>
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

/// Prints the table of a plan's companies by kinds: records selected, converted (or that would
/// be), skipped, not affected and failed.
void PrintPlanTable(std::ostream& out, const std::vector<JobResult>& jobs, bool preview);

/// Writes the plan-run file of a plan's runs beside the first change file, readable by its owner
/// only; returns its path, empty when none could be written.
std::filesystem::path WritePlanRunFile(const convert::Plan& plan,
                                       const std::vector<JobResult>& jobs);

/// Undoes a plan run: checks that every change file the plan-run file lists is there with the
/// digest it lists (refusing the whole undo, with nothing changed, when one is not), then undoes
/// them in reverse order. The status is the worst of the undos.
ExitStatus UndoPlanRun(const std::string& planRunFile, Workstation& station, std::ostream& out);

/// Whether `file` is a plan-run file (its first line says so).
bool IsPlanRunFile(const std::string& file);

}  // namespace batch
