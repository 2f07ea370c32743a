#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobSession.h"
#include "batch/Summary.h"
#include "convert/Plan.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

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
