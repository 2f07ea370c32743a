#include "erp/database/ErpDataSource.h"
#include "erp/database/ValueText.h"
#include "erp/database/Verifier.h"
#include "erp/sample/CompanyGenerator.h"
#include "erp/sample/RecordWriter.h"
#include "erp/sample/SampleSite.h"
#include "erp/sample/SampleStory.h"
#include "erp/sample/SiteFolder.h"
#include "erp/site/SiteDatabase.h"
#include "erp/testsupport/TestCompany.h"
#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Statement.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace erp {
namespace {

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

/// The name of the field of `view` that has `check` (and, for group classes, `slot`).
std::string fieldWith(const ViewDef& view, Check check, int slot = 0) {
  for (const FieldDef& field : view.fields) {
    if (field.check == check && (slot == 0 || field.slot == slot)) return field.name;
  }
  return {};
}

/// The sample site every suite below reads: built once, removed when the test program ends.
/// Installing the runtime records the site in the registry, so the registry is the folder's own.
struct SharedSample {
  platform::testing::TempFolder temp{"ordavel-sample-"};
  std::filesystem::path folder = temp.path();
  SampleSiteReport report = [this] {
    platform::testing::ScopedEnv registry("ORDAVEL_REGISTRY", (folder / "registry").string());
    return createSampleSite(folder);
  }();
};

class SampleSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!sample_) sample_ = std::make_unique<SharedSample>();
    folder_ = &sample_->folder;
    report_ = &sample_->report;
  }

  SiteDatabase site() const { return SiteDatabase(SiteLayout(sharedDataOf(*folder_))); }

  std::shared_ptr<CompanyDatabase> company(const std::string& orgId) const {
    return std::make_shared<CompanyDatabase>(site().layout().companyDatabase(orgId));
  }

  std::int64_t count(const std::string& orgId, const std::string& viewId,
                     const std::string& filter) {
    DataSource source(company(orgId), errors_, true, viewId);
    return source.count(filter);
  }

  std::int64_t sqlCount(const std::string& orgId, const std::string& sql) const {
    auto database = company(orgId);
    SQLite::Statement query(database->sql(), sql);
    query.executeStep();
    return query.getColumn(0).getInt64();
  }

  static std::unique_ptr<SharedSample> sample_;
  static const std::filesystem::path* folder_;
  static const SampleSiteReport* report_;
  ErrorList errors_;
};

std::unique_ptr<SharedSample> SampleSiteTest::sample_;
const std::filesystem::path* SampleSiteTest::folder_ = nullptr;
const SampleSiteReport* SampleSiteTest::report_ = nullptr;

TEST_F(SampleSiteTest, LaysOutProgramsAndSharedDataFolders) {
  EXPECT_TRUE(std::filesystem::is_directory(*folder_ / "Programs" / "runtime"));
  EXPECT_EQ(*folder_ / "SharedData", sharedDataOf(*folder_));
  EXPECT_EQ(*folder_ / "SharedData", sharedDataOf(*folder_ / "SharedData"));
  for (const char* name : {"SITE", "COMPANY", "USER"}) {
    EXPECT_TRUE(std::filesystem::is_directory(*folder_ / "SharedData" / name)) << name;
  }
}

TEST_F(SampleSiteTest, RefusesToBuildOverAnExistingSite) {
  for (const auto& target : {*folder_, *folder_ / "SharedData"}) {
    try {
      createSampleSite(target);
      FAIL() << "no error for " << target;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string::npos, std::string(error.what()).find("already holds a site"));
    }
  }
}

TEST_F(SampleSiteTest, HasTheThreeCompaniesWithTheirNames) {
  std::vector<std::pair<std::string, std::string>> names;
  for (const CompanyEntry& entry : site().companies()) names.emplace_back(entry.orgId, entry.name);
  const std::vector<std::pair<std::string, std::string>> expected{
      {"SAMLTD", "Sample Company Limited"},
      {"SAMNTX", "Sample No Tax Inc."},
      {"SAMWST", "Sample Western Ltd."}};
  EXPECT_EQ(expected, names);
}

TEST_F(SampleSiteTest, ActivatesTheApplicationsOfEachCompany) {
  auto applications = [this](const std::string& orgId) {
    std::set<std::string> codes;
    for (const ActiveApplication& application : site().applications(orgId)) {
      EXPECT_EQ(application.applicationId, application.secondId);
      EXPECT_EQ("66A", application.version);
      codes.insert(application.applicationId);
    }
    return codes;
  };
  EXPECT_EQ((std::set<std::string>{"TX", "AP", "AR", "IC", "OE", "PO", "BK"}),
            applications("SAMLTD"));
  EXPECT_EQ((std::set<std::string>{"TX", "AR", "IC", "BK"}), applications("SAMWST"));
  EXPECT_EQ((std::set<std::string>{"AR", "AP"}), applications("SAMNTX"));
}

TEST_F(SampleSiteTest, UsersSignOnOnlyWhereAllowed) {
  const SiteDatabase database = site();
  auto check = [&](const char* user, const char* password, const char* company, bool allowed) {
    EXPECT_EQ(allowed,
              database.checkPassword(user, password) && database.mayUseCompany(user, company))
        << user << "/" << password << " on " << company;
  };
  check("ADMIN", "admin", "SAMNTX", true);
  check("CLERK", "clerk", "SAMLTD", true);
  check("CLERK", "clerk", "SAMWST", false);
  check("AUDITOR", "auditor", "SAMWST", true);
  check("AUDITOR", "auditor", "SAMLTD", false);
  check("CLERK", "admin", "SAMLTD", false);
}

TEST_F(SampleSiteTest, StoresTheSiteConfigurationRecord) {
  const std::optional<SiteRecord> record = site().siteRecord("");
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ("SAMPLE-CLIENT-0001", record->clientId);
  EXPECT_EQ("Sample Company Limited", record->clientName);
  EXPECT_FALSE(record->dealer.empty());
  EXPECT_FALSE(record->consultant.empty());
  EXPECT_FALSE(record->contact.empty());
}

TEST_F(SampleSiteTest, OptionsShowCurrencyRangesOnlyForTheMulticurrencyCompany) {
  auto option = [this](const std::string& orgId, const std::string& viewId, int number) {
    DataSource options(company(orgId), errors_, true, viewId);
    EXPECT_TRUE(options.read()) << orgId << " " << viewId;
    return valueInteger(options.value(number)).value_or(-1);
  };
  EXPECT_EQ(1, option("SAMLTD", "AR0001", 6));
  EXPECT_EQ(1, option("SAMLTD", "IC0380", 25));
  EXPECT_EQ(0, option("SAMWST", "AR0001", 6));
  EXPECT_EQ(0, option("SAMWST", "IC0380", 25));
}

TEST_F(SampleSiteTest, ReportsWhatItWrote) {
  ASSERT_EQ(3u, report_->companies.size());
  EXPECT_EQ(19u, report_->companies[0].records.size());
  EXPECT_EQ(11u, report_->companies[1].records.size());
  EXPECT_EQ(8u, report_->companies[2].records.size());
  ASSERT_EQ(3u, report_->users.size());
  EXPECT_EQ("admin", report_->users[0].password);
}

TEST_F(SampleSiteTest, CompaniesHoldOnlyTheKindsOfTheirModules) {
  EXPECT_EQ(0, count("SAMWST", "AP0015", ""));
  EXPECT_EQ(0, count("SAMWST", "OE0540", ""));
  EXPECT_LE(100, count("SAMWST", "BK0001", ""));
  EXPECT_LE(100, count("SAMNTX", "AP0015", ""));
  EXPECT_EQ(0, count("SAMNTX", "IC0310", ""));
}

TEST_F(SampleSiteTest, TheCompanyWithoutTaxServicesHasNoTaxData) {
  EXPECT_EQ(0, count("SAMNTX", "TX0003", ""));
  EXPECT_EQ(count("SAMNTX", "AR0024", ""), count("SAMNTX", "AR0024", "CODETAXGRP = \" \""));
  EXPECT_EQ(0, count("SAMNTX", "AR0011", ""));
}

TEST_F(SampleSiteTest, TaxServicesTellTheHarmonisationStory) {
  EXPECT_EQ(1, count("SAMLTD", "TX0002", "AUTHORITY = \"GST\" AND INCLUDABLE = 0"));
  EXPECT_EQ(3, count("SAMLTD", "TX0002", "INCLUDABLE = 1"));
  EXPECT_EQ(2, count("SAMLTD", "TX0003",
                     "GROUPID = \"ONGSTPST\" AND AUTHORITY1 = \"GST\" AND "
                     "AUTHORITY2 = \"ONPST\""));
  EXPECT_EQ(2, count("SAMLTD", "TX0003",
                     "GROUPID = \"ONHST\" AND AUTHORITY1 = \"HST\" AND AUTHORITY2 = \" \""));
  EXPECT_EQ(8, count("SAMLTD", "TX0003", ""));
  EXPECT_EQ(16, count("SAMLTD", "TX0001", "CLASS = 1"));
  EXPECT_EQ(16, count("SAMLTD", "TX0001", "CLASS = 2 AND EXEMPT = 1"));
  EXPECT_EQ(3, count("SAMLTD", "CS0003", ""));
}

TEST_F(SampleSiteTest, SomeCustomersGiveTheirTaxRegistrations) {
  EXPECT_LT(0, count("SAMLTD", "AR0024", "IDTAXREGI1 LIKE \"%RT0001\""));
  EXPECT_LT(
      0, count("SAMLTD", "AR0024", "CODETAXGRP = \"ONGSTPST\" AND IDTAXREGI2 LIKE \"____-____\""));
  EXPECT_LT(count("SAMLTD", "AR0024", "IDTAXREGI1 LIKE \"%RT0001\""),
            count("SAMLTD", "AR0024", ""));
}

TEST_F(SampleSiteTest, ItemsCarryBothFormsOfTheItemNumber) {
  DataSource items(company("SAMLTD"), errors_, true, "IC0310");
  items.put(1, std::string("A1100001"), false);
  ASSERT_TRUE(items.read());
  EXPECT_EQ("A1-1000-01", items.text(7));
  items.clear();
  items.browse("");
  int checked = 0;
  while (items.fetch() && checked++ < 50) {
    EXPECT_EQ(items.text(1), Verifier::unformatItemNumber(items.text(7)));
  }
}

class SampleKindTest : public SampleSiteTest, public ::testing::WithParamInterface<RecordKind> {};

TEST_P(SampleKindTest, HasAtLeastAHundredRecords) {
  EXPECT_LE(100, count("SAMLTD", GetParam().headerView, ""));
}

class TaxGroupKindTest : public SampleKindTest {};
class TaxAuthorityKindTest : public SampleKindTest {};

TEST_P(TaxGroupKindTest, MixesRecordsBeforeExemptAndAfterTheHarmonisation) {
  const RecordKind& kind = GetParam();
  const std::int64_t total = count("SAMLTD", kind.headerView, "");
  const ViewDef& view = ViewCatalog::standard().get(kind.headerView);
  const std::string group = fieldWith(view, Check::TaxGroup);
  const std::string class1 = fieldWith(view, Check::TaxClassOfGroup, 1);
  const std::string class2 = fieldWith(view, Check::TaxClassOfGroup, 2);
  const std::string onOld = group + " = " + quoted(kBeforeGroup);
  // The template kinds have a tax group but no classes.
  const std::string matching =
      class1.empty() ? onOld : onOld + " AND " + class1 + " = 1 AND " + class2 + " = 1";
  EXPECT_LE(total / 2, count("SAMLTD", kind.headerView, matching));
  if (!class1.empty()) {
    EXPECT_LT(0, count("SAMLTD", kind.headerView, onOld + " AND " + class1 + " = 2"));
  }
  EXPECT_LT(0, count("SAMLTD", kind.headerView, group + " = " + quoted(kAfterGroup)));
  EXPECT_LT(0, count("SAMLTD", kind.headerView,
                     group + " = " + quoted(kQuebecGroup) + " OR " + group + " = " +
                         quoted(kFederalGroup)));
}

TEST_P(TaxAuthorityKindTest, MixesRowsBeforeExemptAndAfterTheHarmonisation) {
  const RecordKind& kind = GetParam();
  const std::int64_t total = count("SAMLTD", kind.headerView, "");
  const ViewDef& detail = ViewCatalog::standard().get(kind.detailView);
  const std::string authority = fieldWith(detail, Check::TaxAuthority);
  const std::string taxClass = fieldWith(detail, Check::TaxClassOfAuthority);
  auto rows = [&](const std::string& code, int classNumber) {
    return count("SAMLTD", kind.detailView,
                 authority + " = " + quoted(code) + " AND " + taxClass + " = " +
                     std::to_string(classNumber));
  };
  EXPECT_LE(total / 2, rows("ONPST", 1));
  EXPECT_LT(0, rows("ONPST", 2));
  EXPECT_LT(0, rows("HST", 1));
  EXPECT_EQ(total, count("SAMLTD", kind.detailView, authority + " = \"GST\""));
  const std::string taxIncluded = fieldWith(detail, Check::TaxIncluded);
  if (!taxIncluded.empty()) {
    EXPECT_EQ(0, count("SAMLTD", kind.detailView, taxIncluded + " = 1"));
  }
}

TEST_P(TaxAuthorityKindTest, DetailRowsBelongToTheirHeaders) {
  const RecordKind& kind = GetParam();
  const ViewDef& header = ViewCatalog::standard().get(kind.headerView);
  const ViewDef& detail = ViewCatalog::standard().get(kind.detailView);
  const std::vector<int>& headerKey = header.keys.front().fields;
  auto sameRecord = [&](const std::string& a, const std::string& b, bool aIsHeader) {
    std::string join;
    for (size_t i = 0; i < headerKey.size(); ++i) {
      const std::string name = detail.field(detail.keys.front().fields[i])->name;
      const std::string aName = aIsHeader ? header.field(headerKey[i])->name : name;
      join += " AND " + a + ".\"" + aName + "\" = " + b + ".\"" + name + "\"";
    }
    return join;
  };
  const std::string detailTable = "\"" + detail.id + "\"";
  const std::string headerTable = "\"" + header.id + "\"";
  EXPECT_EQ(0, sqlCount("SAMLTD", "SELECT COUNT(*) FROM " + detailTable +
                                      " d WHERE NOT EXISTS (SELECT 1 FROM " + headerTable +
                                      " h WHERE 1" + sameRecord("h", "d", true) + ")"));
  EXPECT_EQ(0, sqlCount("SAMLTD", "SELECT COUNT(*) FROM " + headerTable +
                                      " h WHERE NOT EXISTS (SELECT 1 FROM " + detailTable +
                                      " d WHERE 1" + sameRecord("h", "d", true) + ")"));
  // A converted record has its HST row instead of its Ontario PST row, never both.
  const std::string authority = "\"" + fieldWith(detail, Check::TaxAuthority) + "\"";
  EXPECT_EQ(0, sqlCount("SAMLTD", "SELECT COUNT(*) FROM " + detailTable + " d WHERE d." +
                                      authority + " = 'HST' AND EXISTS (SELECT 1 FROM " +
                                      detailTable + " o WHERE o." + authority + " = 'ONPST'" +
                                      sameRecord("o", "d", false) + ")"));
}

TEST_P(SampleKindTest, VerificationAcceptsTheTaxFieldsOfTheRecords) {
  const RecordKind& kind = GetParam();
  const bool detail = *kind.detailView != '\0';
  DataSource source(company("SAMLTD"), errors_, false, detail ? kind.detailView : kind.headerView);
  source.browse("");
  int fetched = 0;
  while (fetched < 40 && source.fetch()) {
    ++fetched;
    for (const FieldDef& field : source.view().fields) {
      if (field.check == Check::TaxGroup || field.check == Check::TaxClassOfGroup ||
          field.check == Check::TaxAuthority || field.check == Check::TaxClassOfAuthority ||
          field.check == Check::TaxIncluded || field.check == Check::Currency) {
        const Value value = source.value(field.number);
        EXPECT_NO_THROW(source.put(field.number, value, true))
            << source.view().id << " " << field.name << " = " << valueText(value);
      }
    }
  }
  EXPECT_EQ(40, fetched);
  EXPECT_EQ(0u, errors_.count());
}

std::string kindName(const ::testing::TestParamInfo<RecordKind>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) name += *c == '-' ? '_' : *c;
  return name;
}

std::vector<RecordKind> kindsWithDetails(bool details) {
  std::vector<RecordKind> kinds;
  for (const RecordKind& kind : recordKinds()) {
    if ((*kind.detailView != '\0') == details) kinds.push_back(kind);
  }
  return kinds;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SampleKindTest, ::testing::ValuesIn(recordKinds()), kindName);
INSTANTIATE_TEST_SUITE_P(HeaderKinds, TaxGroupKindTest,
                         ::testing::ValuesIn(kindsWithDetails(false)), kindName);
INSTANTIATE_TEST_SUITE_P(DetailKinds, TaxAuthorityKindTest,
                         ::testing::ValuesIn(kindsWithDetails(true)), kindName);

class CompanyGeneratorTest : public ::testing::Test {
 protected:
  std::int64_t count(const std::string& viewId, const std::string& filter) {
    SiteDatabase site{SiteLayout(sharedDataOf(folder_))};
    auto database = std::make_shared<CompanyDatabase>(site.layout().companyDatabase("BENCH"));
    DataSource source(database, errors_, true, viewId);
    return source.count(filter);
  }

  platform::testing::TempFolder temp_{"ordavel-generate-"};
  std::filesystem::path folder_ = temp_.path();
  ErrorList errors_;
};

TEST_F(CompanyGeneratorTest, CreatesSiteAndCompanyWithAllModulesWhenMissing) {
  const CompanyReport report = generateCompany(folder_, {"bench", "", {{"customers", 50}}});
  EXPECT_EQ("BENCH", report.orgId);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "Programs" / "runtime"));
  SiteDatabase site{SiteLayout(folder_ / "SharedData")};
  EXPECT_EQ(7u, site.applications("BENCH").size());
}

TEST_F(CompanyGeneratorTest, PutsEveryRecordOnTheOldGroupWithTaxableClasses) {
  generateCompany(folder_, {"BENCH", "", {{"customers", 500}, {"vendors", 30}, {"items", 40}}});
  EXPECT_EQ(500, count("AR0024", ""));
  EXPECT_EQ(500, count("AR0024", "CODETAXGRP = \"ONGSTPST\" AND TAXSTTS1 = 1 AND TAXSTTS2 = 1"));
  EXPECT_EQ(30, count("AP0015", "CODETAXGRP = \"ONGSTPST\" AND TAXCLASS1 = 1 AND TAXCLASS2 = 1"));
  EXPECT_EQ(40, count("IC0310", ""));
  EXPECT_EQ(40, count("IC0330", "AUTHORITY = \"ONPST\" AND SALESCLASS = 1"));
  EXPECT_EQ(0, count("AR0023", ""));
}

TEST_F(CompanyGeneratorTest, ASecondRunContinuesTheKeys) {
  generateCompany(folder_, {"BENCH", "", {{"customers", 20}}});
  generateCompany(folder_, {"BENCH", "", {{"customers", 30}, {"ship-to", 10}}});
  EXPECT_EQ(50, count("AR0024", ""));
  EXPECT_EQ(10, count("AR0023", ""));
  EXPECT_EQ(2, count("TX0002", "AUTHORITY = \"GST\" OR AUTHORITY = \"HST\""));
}

TEST_F(CompanyGeneratorTest, RefusesUnknownKindsAndCountsBeyondTheKeys) {
  EXPECT_THROW(generateCompany(folder_, {"BENCH", "", {{"customer", 5}}}), std::invalid_argument);
  EXPECT_THROW(generateCompany(folder_, {"BENCH", "", {{"vendor-groups", 6000}}}),
               std::invalid_argument);
}

class RecordWriterTest : public ::testing::Test {
 protected:
  testing::TestCompany company_;
};

TEST_F(RecordWriterTest, WritesSetFieldsAndLeavesTheOthersBlank) {
  RecordWriter writer(*company_.database(), "CS0003");
  writer.set("CURID", "CAD  ");
  writer.set(4, std::int64_t{2});
  writer.write();
  writer.set(1, "USD");
  writer.write();
  EXPECT_EQ(2, writer.written());
  auto source = company_.open("CS0003");
  source->put(1, std::string("CAD"), false);
  ASSERT_TRUE(source->read());
  EXPECT_EQ("", source->text(2));
  EXPECT_EQ(Value(std::int64_t{2}), source->value(4));
  source->put(1, std::string("USD"), false);
  ASSERT_TRUE(source->read());
  EXPECT_EQ(Value(std::int64_t{0}), source->value(4));
}

TEST_F(RecordWriterTest, RefusesWhatTheViewCannotHold) {
  RecordWriter writer(*company_.database(), "CS0003");
  EXPECT_THROW(writer.set("NOSUCH", "x"), std::invalid_argument);
  EXPECT_THROW(writer.set(99, "x"), std::invalid_argument);
  EXPECT_THROW(writer.set(1, "CADX"), std::invalid_argument);
  EXPECT_THROW(writer.set(4, "two"), std::invalid_argument);
  EXPECT_THROW(RecordWriter(*company_.database(), "XX9999"), std::out_of_range);
}

TEST_F(RecordWriterTest, ADuplicateKeyNamesTheViewAndKey) {
  RecordWriter writer(*company_.database(), "CS0003");
  writer.set(1, "CAD");
  writer.write();
  writer.set(1, "CAD");
  try {
    writer.write();
    FAIL() << "duplicate accepted";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string::npos, std::string(error.what()).find("(CAD) into view CS0003"))
        << error.what();
  }
  writer.set(1, "EUR");
  EXPECT_NO_THROW(writer.write());
}

}  // namespace
}  // namespace erp
