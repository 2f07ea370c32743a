#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace erp {

/// What a sample or generated company received.
struct CompanyReport {
  std::string orgId;
  std::string name;
  std::vector<std::string> applications;                ///< application codes, TX first
  std::vector<std::pair<std::string, size_t>> records;  ///< kind name and records written
};

/// A demo user with the password the sample gave it.
struct UserReport {
  std::string userId;
  std::string password;
  std::vector<std::string> companies;
};

/// What `createSampleSite` built.
struct SampleSiteReport {
  std::filesystem::path programs;
  std::filesystem::path sharedData;
  std::vector<CompanyReport> companies;
  std::vector<UserReport> users;
};

/// Builds the self-contained sample site in `siteDir`: DIR/Programs with its runtime folder and
/// DIR/SharedData with the companies SAMLTD, SAMWST and SAMNTX, the demo users and the site
/// configuration record. The runtime's libraries come from `libraryFolder` (empty: the running
/// executable's folder). Throws std::runtime_error when `siteDir` already holds a site.
SampleSiteReport createSampleSite(const std::filesystem::path& siteDir,
                                  const std::filesystem::path& libraryFolder = {});

}  // namespace erp
