#include "erp/site/SiteLayout.h"

#include <utility>

namespace erp {

SiteLayout::SiteLayout(std::filesystem::path sharedData) : sharedData_(std::move(sharedData)) {}

std::filesystem::path SiteLayout::siteFolder() const {
  return sharedData_ / "SITE";
}

std::filesystem::path SiteLayout::siteDatabase() const {
  return siteFolder() / "site.db";
}

std::filesystem::path SiteLayout::companiesFolder() const {
  return sharedData_ / "COMPANY";
}

std::filesystem::path SiteLayout::companyFolder(const std::string& orgId) const {
  return companiesFolder() / orgId;
}

std::filesystem::path SiteLayout::companyDatabaseRelative(const std::string& orgId) const {
  return std::filesystem::path("COMPANY") / orgId / "company.db";
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
