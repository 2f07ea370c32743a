#pragma once

#include "convert/ConversionRequest.h"

#include <cstdint>
#include <string>
#include <vector>

namespace convert {

/// A [Group] section of a plan: records of tax group `from` move to tax group `to`, their
/// classes mapped by `classes`, for each transaction type in `types` (1 sales, 2 purchases).
struct PlanGroup {
  RequestValue from;
  RequestValue to;
  std::vector<ClassMap> classes;
  std::vector<std::int16_t> types;
  int line = 0;
};

/// A tax change described once: who runs it, on which companies and modules, and which tax
/// groups and authorities move where. Every value keeps the line of the plan file it came from.
struct Plan {
  std::string file;
  std::string title;
  std::string user;
  /// The companies by ID, in the order given; empty with `everyCompany`.
  std::vector<std::string> companies;
  /// "*": every company the user may sign on to.
  bool everyCompany = false;
  int companiesLine = 0;
  /// The module codes to run, in tab order; every module when the plan names none.
  std::vector<std::string> modules;
  int modulesLine = 0;
  /// Records committed together; 0 leaves the conversion's own default.
  std::int32_t recordsPerCommit = 0;
  std::vector<PlanGroup> groups;
  std::vector<AuthorityReplacement> authorities;

  /// "file:line: ", the start of a message about that line.
  std::string Where(int line) const { return file + ":" + std::to_string(line) + ": "; }
};

}  // namespace convert
