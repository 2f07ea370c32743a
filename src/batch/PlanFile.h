#pragma once

#include "batch/JobFile.h"
#include "convert/Plan.h"

#include <ostream>
#include <string>

namespace batch {

/// Reads and checks a plan file, read by the job files' rules (whole values, quotes, a
/// byte-order mark, names and keys not case-sensitive, each section and key once). Sections:
/// [Plan] (Title, User, Companies with * for every company, Modules), [Group X] (To, Classes
/// "1,1 -> 1; 2,2 -> 2", Type Sales and/or Purchases), [Authority X] (To, Classes "1 -> 1",
/// TaxIncluded Keep, Yes or No). Throws JobFileError listing every problem found with its line.
convert::Plan ReadPlanFile(const std::string& path);

/// Writes a plan with every section and key, each explained in a comment.
void WriteSkeletonPlan(std::ostream& out);

}  // namespace batch
