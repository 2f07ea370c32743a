#pragma once

#include "host/AccpacPaths.h"
#include "platform/tests/testsupport/TempFolder.h"
#include "standin/runtime/Installation.h"
#include "standin/runtime/SiteConfigRecord.h"
#include "standin/site/RegistryStore.h"
#include "standin/site/SiteDatabase.h"
#include "standin/testsupport/TestCompany.h"
#include "util/tests/testsupport/Recording.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace host::testing {

using util::testing::RecordingNotifier;

/// A temporary ERP installation: Programs and SharedData folders and a registry store file, all
/// removed afterwards together with any change of the current directory.
class InstalledSite {
 public:
  InstalledSite()
      : registry_(folder_ / "registry"), workingFolder_(std::filesystem::current_path()) {
    std::filesystem::create_directories(programs());
    std::filesystem::create_directories(sharedData());
  }
  ~InstalledSite() {
    std::error_code ignored;
    std::filesystem::current_path(workingFolder_, ignored);
  }
  InstalledSite(const InstalledSite&) = delete;
  InstalledSite& operator=(const InstalledSite&) = delete;

  std::filesystem::path programs() const { return folder_ / "Programs"; }
  std::filesystem::path runtime() const { return programs() / "runtime"; }
  std::filesystem::path sharedData() const { return folder_ / "SharedData"; }
  erp::RegistryStore& registry() { return registry_; }

  /// Installs the stand-in runtime built with the tests.
  void install(erp::RuntimeOptions options = {}) {
    options.libraryFolder = ORDAVEL_RUNTIME_LIBRARIES;
    erp::installStandinRuntime(programs(), sharedData(), registry_, options);
  }
  /// Creates the site database with the site's own configuration record and one company's.
  void createSite(const erp::SiteRecord& siteRecord, const erp::SiteRecord& companyRecord) {
    const erp::SiteLayout layout(sharedData());
    erp::SiteDatabase::create(layout);
    erp::SiteDatabase site(layout);
    site.setSiteRecord(siteRecord);
    site.setSiteRecord(companyRecord);
  }
  /// Adds company SAMLTD with `applications` active and the tax data of TestCompany::addTaxData,
  /// and user ADMIN (password "admin") who may sign on to it; returns the company's tables.
  std::unique_ptr<erp::testing::TestCompany> addCompany(
      const std::vector<erp::ActiveApplication>& applications) {
    const erp::SiteLayout layout(sharedData());
    erp::SiteDatabase database(layout);
    database.addCompany("SAMLTD", "Sample Company Limited");
    database.addUser("ADMIN", "Administrator", "admin", erp::HashCost::kMinimal);
    database.grantCompany("ADMIN", "SAMLTD");
    for (const erp::ActiveApplication& application : applications) {
      database.setApplication("SAMLTD", application);
    }
    auto company = std::make_unique<erp::testing::TestCompany>(layout.companyDatabase("SAMLTD"));
    company->addTaxData();
    return company;
  }
  /// Writes one text value of the configuration key, creating the key.
  void setText(const std::string& name, const std::string& text) {
    registry_.createKey(erp::kLocalMachine, kAccpacConfigurationKey);
    erp::RegistryValue value{erp::kRegString, {text.begin(), text.end()}};
    value.data.push_back(0);
    registry_.setValue(erp::kLocalMachine, kAccpacConfigurationKey, name, value);
  }
  /// The paths of this installation as the program reads them.
  AccpacPaths paths() { return AccpacPaths(registry_, notifier); }

  RecordingNotifier notifier;

 private:
  platform::testing::TempFolder folder_{"ordavel-install-"};
  erp::RegistryStore registry_;
  std::filesystem::path workingFolder_;
};

}  // namespace host::testing
