#include "platform/tests/testsupport/TempFolder.h"
#include "standin/database/ErpDataSource.h"
#include "standin/database/ValueText.h"
#include "standin/database/Verifier.h"
#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/RecordWriter.h"
#include "standin/sample/SampleSite.h"
#include "standin/sample/SampleStory.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"
#include "standin/testsupport/TestCompany.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Statement.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace erp {
namespace {

/// The name of the field of `view` that has `check`.
std::string fieldWith(const ViewDef& view, Check check) {
  for (const FieldDef& field : view.fields) {
    if (field.check == check) return field.name;
  }
  return {};
}

/// The sample site every suite below reads: built once, removed when the test program ends.
/// Installing the runtime records the site in the registry, so the registry is the folder's own.
struct SharedSample {
  SharedSample() {
    platform::testing::ScopedEnv registry("ORDAVEL_REGISTRY", (folder / "registry").string());
    createSampleSite(folder);
  }
  platform::testing::TempFolder temp{"ordavel-sample-"};
  std::filesystem::path folder = temp.path();
};

class SampleSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!sample_) sample_ = std::make_unique<SharedSample>();
    folder_ = &sample_->folder;
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
  ErrorList errors_;
};

std::unique_ptr<SharedSample> SampleSiteTest::sample_;
const std::filesystem::path* SampleSiteTest::folder_ = nullptr;

TEST_F(SampleSiteTest, RefusesToBuildOverAnExistingSiteGivenByEitherFolder) {
  EXPECT_EQ(*folder_ / "SharedData", sharedDataOf(*folder_ / "SharedData"));
  for (const auto& target : {*folder_, *folder_ / "SharedData"}) {
    try {
      createSampleSite(target);
      FAIL() << "no error for " << target;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string::npos, std::string(error.what()).find("already holds a site"));
    }
  }
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
class TaxAuthorityKindTest : public SampleKindTest {};

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

std::vector<RecordKind> kindsWithDetails() {
  std::vector<RecordKind> kinds;
  for (const RecordKind& kind : recordKinds()) {
    if (*kind.detailView != '\0') kinds.push_back(kind);
  }
  return kinds;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SampleKindTest, ::testing::ValuesIn(recordKinds()), kindName);
INSTANTIATE_TEST_SUITE_P(DetailKinds, TaxAuthorityKindTest, ::testing::ValuesIn(kindsWithDetails()),
                         kindName);

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

TEST_F(CompanyGeneratorTest, ACompanyOfAnOlderSiteInCOMPANYIsFilledWhereItLies) {
  generateCompany(folder_, {"BENCH", "", {{"customers", 20}}});
  const SiteLayout layout(sharedDataOf(folder_));
  std::filesystem::rename(layout.sharedData() / "Company", layout.sharedData() / "COMPANY");
  SQLite::Database(layout.siteDatabase().string(), SQLite::OPEN_READWRITE)
      .exec("UPDATE companies SET database_file = 'COMPANY/BENCH/company.db'");
  generateCompany(folder_, {"BENCH", "", {{"customers", 30}}});
  auto database =
      std::make_shared<CompanyDatabase>(layout.sharedData() / "COMPANY/BENCH/company.db");
  EXPECT_EQ(50, DataSource(database, errors_, true, "AR0024").count(""));
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
