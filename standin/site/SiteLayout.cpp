#include "standin/site/SiteLayout.h"

#include <utility>

namespace erp {
namespace {

// Spelled as the program asks for it (its log folder lies in "Company"), so that a new site
// needs no matching of letter case; sites made with "COMPANY" keep working through the database
// file the site database records for each company.
constexpr const char* kCompaniesFolder = "Company";

}  // namespace

SiteLayout::SiteLayout(std::filesystem::path sharedData) : sharedData_(std::move(sharedData)) {}

std::filesystem::path SiteLayout::siteFolder() const {
  return sharedData_ / "SITE";
}

std::filesystem::path SiteLayout::siteDatabase() const {
  return siteFolder() / "site.db";
}

std::filesystem::path SiteLayout::companiesFolder() const {
  return sharedData_ / kCompaniesFolder;
}

std::filesystem::path SiteLayout::companyFolder(const std::string& orgId) const {
  return companiesFolder() / orgId;
}

std::filesystem::path SiteLayout::companyDatabaseRelative(const std::string& orgId) const {
  return std::filesystem::path(kCompaniesFolder) / orgId / "company.db";
}

std::filesystem::path SiteLayout::companyDatabase(const std::string& orgId) const {
  return sharedData_ / companyDatabaseRelative(orgId);
}

std::filesystem::path SiteLayout::userFolder() const {
  return sharedData_ / "USER";
}

void SiteLayout::createFolders() const {
  std::filesystem::create_directories(siteFolder());
  std::filesystem::create_directories(companiesFolder());
  std::filesystem::create_directories(userFolder());
}

}  // namespace erp
