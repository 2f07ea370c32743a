#pragma once

#include <filesystem>
#include <string>

namespace erp {

/// The folders and files of a site, all derived from its shared-data folder.
class SiteLayout {
 public:
  /// A layout rooted at `sharedData`; nothing is touched on disk.
  explicit SiteLayout(std::filesystem::path sharedData);

  /// The shared-data folder the layout is rooted at.
  const std::filesystem::path& sharedData() const { return sharedData_; }
  /// The SITE folder, home of the site database.
  std::filesystem::path siteFolder() const;
  /// The site database file SITE/site.db.
  std::filesystem::path siteDatabase() const;
  /// The Company folder that holds one folder per company.
  std::filesystem::path companiesFolder() const;
  /// The folder of one company, Company/<orgId>.
  std::filesystem::path companyFolder(const std::string& orgId) const;
  /// A company's database file relative to the shared-data folder.
  std::filesystem::path companyDatabaseRelative(const std::string& orgId) const;
  /// A company's database file, Company/<orgId>/company.db, where a new company's goes.
  std::filesystem::path companyDatabase(const std::string& orgId) const;
  /// The USER folder.
  std::filesystem::path userFolder() const;

  /// Creates the SITE, Company and USER folders where they are missing.
  void createFolders() const;

 private:
  std::filesystem::path sharedData_;
};

}  // namespace erp
