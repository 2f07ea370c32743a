#pragma once

#include "standin/sample/SampleSite.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace erp {

/// Which company to fill and how many records of which kinds.
struct GenerateRequest {
  std::string orgId;
  std::string name;  ///< used only when the company is created; empty gives a default
  std::vector<std::pair<std::string, size_t>> counts;  ///< kind name (see recordKinds) and count
  /// Mix taxable, exempt, already converted and other-province records in key order, as real
  /// companies are, instead of putting every record on ONGSTPST with taxable classes.
  bool interleaved = false;
};

/// Adds records for benchmarks to a company of the site in `siteDir`, creating the site and the
/// company (with Tax Services and all six modules active) when they are missing. Every record
/// is on ONGSTPST with taxable classes unless the request interleaves the states; keys continue
/// after the records the kind already has.
/// Throws std::invalid_argument for an unknown kind or a count the kind's keys cannot number.
CompanyReport generateCompany(const std::filesystem::path& siteDir, const GenerateRequest& request);

}  // namespace erp
