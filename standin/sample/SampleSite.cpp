#include "standin/sample/SampleSite.h"

#include "standin/runtime/Installation.h"
#include "standin/sample/SampleStory.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"
#include "standin/site/SiteLayout.h"

#include <SQLiteCpp/Transaction.h>

#include <algorithm>
#include <stdexcept>

namespace erp {
namespace {

struct SampleCompany {
  const char* orgId;
  const char* name;
  bool taxServices;
  bool multicurrency;
  std::vector<std::string> modules;
};

struct SampleUser {
  const char* userId;
  const char* name;
  const char* password;
  std::vector<std::string> companies;
  std::vector<std::string> webApiModules;
};

const char* const kVersion = "66A";

std::vector<SampleCompany> sampleCompanies() {
  return {
      {"SAMLTD", "Sample Company Limited", true, true, {"AP", "AR", "IC", "OE", "PO", "BK"}},
      {"SAMWST", "Sample Western Ltd.", true, false, {"AR", "IC", "BK"}},
      {"SAMNTX", "Sample No Tax Inc.", false, false, {"AR", "AP"}},
  };
}

std::vector<SampleUser> sampleUsers() {
  return {
      {"ADMIN",
       "Administrator",
       "admin",
       {"SAMLTD", "SAMWST", "SAMNTX"},
       {"AP", "AR", "BK", "IC", "OE", "PO", "TX"}},
      {"CLERK", "Accounting Clerk", "clerk", {"SAMLTD"}, {}},
      {"AUDITOR", "External Auditor", "auditor", {"SAMWST"}, {}},
  };
}

TaxState untaxed(size_t) {
  return TaxState::Untaxed;
}

CompanyReport buildCompany(SiteDatabase& site, const SampleCompany& company) {
  site.addCompany(company.orgId, company.name);
  CompanyReport report{company.orgId, company.name, {}, {}};
  if (company.taxServices) {
    site.setApplication(company.orgId, {"TX", "TX", kVersion});
    report.applications.push_back("TX");
  }
  for (const std::string& module : company.modules) {
    site.setApplication(company.orgId, {module, module, kVersion});
    report.applications.push_back(module);
  }

  CompanyDatabase database(site.layout().companyDatabase(company.orgId));
  SQLite::Transaction transaction(database.sql());
  if (company.taxServices) writeTaxServices(database);
  writeCompanyBasics(database, company.multicurrency);
  for (const RecordKind& kind : recordKinds()) {
    if (std::find(company.modules.begin(), company.modules.end(), kind.module) ==
        company.modules.end()) {
      continue;
    }
    std::function<TaxState(size_t)> stateOf = untaxed;
    if (company.taxServices && *kind.detailView != '\0') {
      stateOf = [states = keyBlockTaxStates(database, kind, kind.sampleCount)](size_t index) {
        return states[index];
      };
    } else if (company.taxServices) {
      stateOf = sampleTaxState;
    }
    writeRecords(database, kind, 0, kind.sampleCount, stateOf);
    report.records.emplace_back(kind.name, kind.sampleCount);
  }
  transaction.commit();
  return report;
}

}  // namespace

SampleSiteReport createSampleSite(const std::filesystem::path& siteDir,
                                  const std::filesystem::path& libraryFolder) {
  const SiteLayout existing(sharedDataOf(siteDir));
  if (std::filesystem::exists(existing.siteDatabase())) {
    throw std::runtime_error(siteDir.string() + " already holds a site (" +
                             existing.siteDatabase().string() + ").");
  }
  SampleSiteReport report;
  report.programs = siteDir / "Programs";
  report.sharedData = siteDir / "SharedData";
  std::filesystem::create_directories(report.programs / "runtime");
  const SiteLayout layout(report.sharedData);
  SiteDatabase::create(layout);
  SiteDatabase site(layout);

  site.setSiteRecord({"", "SAMPLE-CLIENT-0001", "Sample Company Limited",
                      "Northbridge Business Systems", "Dana Whitfield, CPA", "Morgan Ellis"});
  for (const SampleCompany& company : sampleCompanies()) {
    report.companies.push_back(buildCompany(site, company));
  }
  for (const SampleUser& user : sampleUsers()) {
    site.addUser(user.userId, user.name, user.password);
    for (const std::string& company : user.companies) site.grantCompany(user.userId, company);
    for (const std::string& module : user.webApiModules) site.grantWebApi(user.userId, module);
    report.users.push_back({user.userId, user.password, user.companies});
  }
  RegistryStore registry;
  RuntimeOptions options;
  options.libraryFolder = libraryFolder;
  installStandinRuntime(report.programs, report.sharedData, registry, options);
  return report;
}

}  // namespace erp
