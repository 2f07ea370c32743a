#pragma once

#include "batch/JobSections.h"

#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// One key of a section with what it takes.
struct KeyHelp {
  std::string key;
  std::string help;
  /// Whether a job that leaves the key out keeps what the window starts with; a skeleton writes
  /// such keys commented out.
  bool optional = true;
};

/// A section of a job with what it stands for and what each of its keys takes.
struct SectionHelp {
  JobSection section;
  std::string caption;
  std::vector<KeyHelp> keys;
};

/// The sections of a job for `tab` ("AP" ... "BK") in the order of TabSections, described from
/// the window's own layout tables; an unknown tab raises std::invalid_argument.
std::vector<SectionHelp> DescribeTab(const std::string& tab);

/// Prints the sections and keys of a job for each of `tabs` (every tab when empty).
void PrintJobList(std::ostream& out, const std::vector<std::string>& tabs);

/// Writes a job file for `tab` with every section and key, each explained in a comment.
void WriteSkeleton(std::ostream& out, const std::string& tab);

}  // namespace batch
