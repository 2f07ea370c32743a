#pragma once

#include "batch/JobFile.h"

#include <ostream>
#include <string>

namespace batch {

/// A job value as a job file must hold it to be read back exactly: in double quotes when it has
/// blanks at either end, a quote at either end or a semicolon, else as it is. A value with a line
/// break raises std::invalid_argument: no job line can hold it.
std::string JobValueText(const std::string& value);

/// Writes `job` as a job file that ReadJobFile reads back into the same choices: [Run], then the
/// sections of its tab in the order TabSections gives, each kind with its check box, ranges and
/// criteria, each mapping with its tax group and classes, each operations grid with its rows.
void WriteJob(std::ostream& out, const Job& job);

}  // namespace batch
