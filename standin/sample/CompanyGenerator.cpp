#include "standin/sample/CompanyGenerator.h"

#include "standin/sample/SampleStory.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <SQLiteCpp/Transaction.h>

#include <stdexcept>

namespace erp {
namespace {

TaxState beforeHarmonisation(size_t) {
  return TaxState::Before;
}

SiteLayout openOrCreateSite(const std::filesystem::path& siteDir) {
  const SiteLayout existing(sharedDataOf(siteDir));
  if (std::filesystem::exists(existing.siteDatabase())) return existing;
  std::filesystem::create_directories(siteDir / "Programs" / "runtime");
  const SiteLayout created(siteDir / "SharedData");
  SiteDatabase::create(created);
  return created;
}

}  // namespace

CompanyReport generateCompany(const std::filesystem::path& siteDir,
                              const GenerateRequest& request) {
  for (const auto& [name, count] : request.counts) {
    if (!findRecordKind(name))
      throw std::invalid_argument("There is no kind of record " + name + ".");
  }
  SiteDatabase site(openOrCreateSite(siteDir));
  const std::string orgId = canonicalOrgId(request.orgId);
  CompanyReport report{orgId, request.name, {}, {}};
  if (auto company = site.company(orgId)) {
    report.name = company->name;
  } else {
    if (report.name.empty()) report.name = "Benchmark Company " + orgId;
    site.addCompany(orgId, report.name);
    for (const char* application : {"TX", "AP", "AR", "IC", "OE", "PO", "BK"}) {
      site.setApplication(orgId, {application, application, "66A"});
    }
  }
  for (const ActiveApplication& application : site.applications(orgId)) {
    report.applications.push_back(application.applicationId);
  }

  // The file the site records: older sites keep their companies in "COMPANY".
  CompanyDatabase database(site.layout().sharedData() / site.company(orgId)->databaseFile);
  SQLite::Transaction transaction(database.sql());
  if (recordCount(database, "TX0002") == 0) writeTaxServices(database);
  if (recordCount(database, "CS0003") == 0) writeCompanyBasics(database, true);
  for (const auto& [name, count] : request.counts) {
    const RecordKind& kind = *findRecordKind(name);
    if (count == 0) continue;
    const size_t first = recordCount(database, kind.headerView);
    if (first + count > kind.maxCount) {
      throw std::invalid_argument("The keys of " + name + " run out after " +
                                  std::to_string(kind.maxCount) + " records; " + orgId + " has " +
                                  std::to_string(first) + ".");
    }
    writeRecords(database, kind, first, count,
                 request.interleaved ? sampleTaxState : beforeHarmonisation);
    report.records.emplace_back(name, count);
  }
  transaction.commit();
  return report;
}

}  // namespace erp
