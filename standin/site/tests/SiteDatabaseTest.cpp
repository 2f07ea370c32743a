#include "standin/site/SiteDatabase.h"

#include "standin/testsupport/SiteTempFolder.h"

#include <gtest/gtest.h>

#include "standin/database/CompanyDatabase.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <stdexcept>

namespace erp {
namespace {

class SiteDatabaseTest : public ::testing::Test {
 protected:
  SiteDatabaseTest() : catalog_(optionTestViews()), site_(temp_.layout()) {}

  TempSite temp_;
  ViewCatalog catalog_;
  SiteDatabase site_;
};

TEST(SiteCodeTest, OrgAndUserIdsAreUpperCasedAndChecked) {
  auto canonical = [](auto check, const std::string& text) {
    try {
      return check(text);
    } catch (const std::invalid_argument&) {
      return std::string("<invalid>");
    }
  };
  auto org = [&](const std::string& text) { return canonical(canonicalOrgId, text); };
  auto user = [&](const std::string& text) { return canonical(canonicalUserId, text); };
  EXPECT_EQ("SAMLTD", org("samLtd"));
  EXPECT_EQ("A1", org("a1"));
  for (const char* bad : {"", "SEVENCH", "SAM-1", "SAM 1"}) EXPECT_EQ("<invalid>", org(bad)) << bad;
  EXPECT_EQ("ADMIN", user("admin"));
  EXPECT_EQ("EIGHTCHR", user("eightchr"));
  for (const char* bad : {"NINECHARS", "", "a.b"}) EXPECT_EQ("<invalid>", user(bad)) << bad;
}

TEST(SiteLayoutTest, CreatingASiteMakesItsFoldersAndRefusesASecondTime) {
  TempSite temp;
  for (const char* name : {"SITE", "Company", "USER"}) {
    EXPECT_TRUE(std::filesystem::is_directory(temp.folder() / name)) << name;
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(temp.folder() / "SITE" / "site.db"));
  EXPECT_THROW(SiteDatabase::create(temp.layout()), std::runtime_error);
}

TEST(SiteLayoutTest, TheSiteAndItsCompaniesAreReadableByTheirOwnerOnly) {
  TempSite temp;
  SiteDatabase(temp.layout()).addCompany("SAMLTD", "Sample");
  for (const char* file : {"SITE/site.db", "Company/SAMLTD/company.db"}) {
    const auto permissions = std::filesystem::status(temp.folder() / file).permissions();
    EXPECT_EQ(std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, permissions)
        << file;
  }
}

// A full disk lets nothing grow. Signing on only reads the site, so it still works, and a company
// that cannot be opened says why instead of looking like a missing site.
TEST(SiteLayoutTest, OnAFullDiskTheSiteIsReadAndACompanySaysWhyItCannotBeOpened) {
  TempSite temp;
  SiteDatabase(temp.layout()).addCompany("SAMLTD", "Sample");
  int pipe[2];
  ASSERT_EQ(0, ::pipe(pipe));
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_FSIZE, &none);
    std::string report;
    try {
      SiteDatabase site(temp.layout(), SiteAccess::ReadOnly);
      report = "companies " + std::to_string(site.companies().size()) + "; ";
      CompanyDatabase company(temp.layout().companyDatabase("SAMLTD"));
    } catch (const std::exception& error) {
      report += error.what();
    }
    static_cast<void>(::write(pipe[1], report.data(), report.size()));
    ::_exit(0);
  }
  ::close(pipe[1]);
  std::string report(4096, '\0');
  report.resize(static_cast<size_t>(std::max<ssize_t>(0, ::read(pipe[0], report.data(), 4096))));
  ::close(pipe[0]);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(report.starts_with("companies 1; The company database ")) << report;
  EXPECT_NE(std::string::npos, report.find("cannot be opened")) << report;
  EXPECT_NE(std::string::npos, report.find("(File too large)")) << report;
}

TEST_F(SiteDatabaseTest, AddingACompanyCreatesItsFolderAndDatabase) {
  site_.addCompany("samltd", "Sample Company Ltd.", catalog_);

  EXPECT_TRUE(std::filesystem::is_regular_file(temp_.folder() / "Company/SAMLTD/company.db"));
  const std::optional<CompanyEntry> company = site_.company("SamLtd");
  ASSERT_TRUE(company.has_value());
  EXPECT_EQ("SAMLTD", company->orgId);
  EXPECT_EQ("Sample Company Ltd.", company->name);
  EXPECT_EQ("Company/SAMLTD/company.db", company->databaseFile);
  EXPECT_THROW(site_.addCompany("SAMLTD", "Again", catalog_), std::invalid_argument);
  EXPECT_FALSE(site_.company("NOPE").has_value());
}

TEST_F(SiteDatabaseTest, UsersSignOnOnlyWithTheirPasswordAndGrantedCompanies) {
  site_.addCompany("SAMLTD", "Sample", catalog_);
  site_.addCompany("OTHER", "Other", catalog_);
  site_.addUser("admin", "Administrator", "secret");
  site_.grantCompany("ADMIN", "samltd");

  EXPECT_TRUE(site_.checkPassword("Admin", "secret"));
  EXPECT_FALSE(site_.checkPassword("ADMIN", "Secret"));
  EXPECT_FALSE(site_.checkPassword("NOBODY", "secret"));
  EXPECT_TRUE(site_.mayUseCompany("ADMIN", "SAMLTD"));
  EXPECT_FALSE(site_.mayUseCompany("ADMIN", "OTHER"));
  EXPECT_THROW(site_.grantCompany("ADMIN", "NOPE"), std::invalid_argument);
  EXPECT_THROW(site_.addUser("ADMIN", "Twice", "x"), std::invalid_argument);

  site_.removeUser("ADMIN");
  EXPECT_FALSE(site_.user("ADMIN").has_value());
  EXPECT_FALSE(site_.mayUseCompany("ADMIN", "SAMLTD"));
  EXPECT_THROW(site_.removeUser("ADMIN"), std::invalid_argument);
}

TEST_F(SiteDatabaseTest, ApplicationsAreKeyedByApplicationAndSecondId) {
  site_.addCompany("SAMLTD", "Sample", catalog_);
  site_.setApplication("SAMLTD", {"TX", "TX", "66A"});
  site_.setApplication("SAMLTD", {"AR", "AR", "65A"});
  site_.setApplication("SAMLTD", {"AR", "A1", "66A"});
  site_.setApplication("SAMLTD", {"AR", "AR", "66A"});

  const std::vector<ActiveApplication> expected{
      {"AR", "A1", "66A"}, {"AR", "AR", "66A"}, {"TX", "TX", "66A"}};
  EXPECT_EQ(expected, site_.applications("samltd"));

  site_.removeApplication("SAMLTD", "AR", "A1");
  EXPECT_EQ(2u, site_.applications("SAMLTD").size());
  EXPECT_THROW(site_.removeApplication("SAMLTD", "AR", "A1"), std::invalid_argument);
  EXPECT_THROW(site_.setApplication("NOPE", {"AR", "AR", "66A"}), std::invalid_argument);
}

// The program pads a short org ID with blanks to six characters.
TEST_F(SiteDatabaseTest, SiteRecordsAreFoundByAnOrgIdPaddedWithBlanks) {
  site_.setSiteRecord({"AB", "CLIENT-2", "Short", "", "", ""});
  ASSERT_TRUE(site_.siteRecord("AB    ").has_value());
  EXPECT_EQ("CLIENT-2", site_.siteRecord("AB    ")->clientId);
}

TEST_F(SiteDatabaseTest, SiteRecordFieldsLongerThanTheRecordAllowsAreRefused) {
  auto refused = [this](SiteRecord record) {
    try {
      site_.setSiteRecord(record);
      return false;
    } catch (const std::invalid_argument&) {
      return true;
    }
  };
  const std::string s35(35, 'x'), s36(36, 'x'), s60(60, 'x'), s61(61, 'x');
  EXPECT_FALSE(refused({"", s60, s60, s35, s35, s35}));
  EXPECT_TRUE(refused({"", s61, "", "", "", ""}));
  EXPECT_TRUE(refused({"", "", s61, "", "", ""}));
  EXPECT_TRUE(refused({"", "", "", s36, "", ""}));
  EXPECT_TRUE(refused({"", "", "", "", s36, ""}));
  EXPECT_TRUE(refused({"", "", "", "", "", s36}));
}

TEST_F(SiteDatabaseTest, DesktopSessionsKeepTheirWindowLinksAndNeverReuseAHandle) {
  site_.addCompany("SAMLTD", "Sample", catalog_);
  site_.addUser("ADMIN", "Administrator", "secret");
  const std::int32_t first = site_.createDesktopSession("admin", "samltd");
  const std::int32_t second = site_.createDesktopSession("ADMIN", "SAMLTD");
  EXPECT_NE(first, second);
  EXPECT_EQ("ADMIN", site_.desktopSession(first)->userId);
  EXPECT_EQ("SAMLTD", site_.desktopSession(first)->orgId);
  EXPECT_FALSE(site_.desktopSession(first)->created.empty());

  EXPECT_TRUE(site_.linkWindow(second, 11));
  EXPECT_TRUE(site_.linkWindow(second, 0xFFFFFFF0u));
  EXPECT_TRUE(site_.linkWindow(second, 33));
  EXPECT_EQ((std::vector<std::uint32_t>{11, 0xFFFFFFF0u, 33}), site_.linkedWindows(second));
  EXPECT_TRUE(site_.unlinkWindow(second, 11));
  EXPECT_EQ((std::vector<std::uint32_t>{0xFFFFFFF0u, 33}), site_.linkedWindows(second));
  EXPECT_TRUE(site_.unlinkWindow(second, 0));
  EXPECT_TRUE(site_.linkedWindows(second).empty());

  EXPECT_TRUE(site_.linkWindow(second, 44));
  EXPECT_TRUE(site_.removeDesktopSession(second));
  EXPECT_FALSE(site_.desktopSession(second).has_value());
  EXPECT_TRUE(site_.linkedWindows(second).empty());
  EXPECT_FALSE(site_.linkWindow(second, 55));
  EXPECT_FALSE(site_.removeDesktopSession(second));

  const std::int32_t third = site_.createDesktopSession("ADMIN", "SAMLTD");
  EXPECT_NE(second, third);
}

TEST_F(SiteDatabaseTest, WebApiAuthorizationsArePerUserAndModule) {
  site_.addUser("ADMIN", "Admin", "pw", HashCost::kMinimal);
  site_.grantWebApi("admin", "ar");
  site_.grantWebApi("ADMIN", "TX");
  EXPECT_EQ((std::vector<std::string>{"AR", "TX"}), site_.webApiModules("Admin"));
  EXPECT_FALSE(site_.mayUseWebApi("ADMIN", "AP"));
  EXPECT_THROW(site_.grantWebApi("ADMIN", "A/R"), std::invalid_argument);
  EXPECT_THROW(site_.grantWebApi("NOBODY", "AR"), std::invalid_argument);
  site_.revokeWebApi("ADMIN", "AR");
  EXPECT_THROW(site_.revokeWebApi("ADMIN", "AR"), std::invalid_argument);
  EXPECT_FALSE(site_.mayUseWebApi("ADMIN", "AR"));
}

TEST_F(SiteDatabaseTest, ASiteWithoutWebApiAuthorizationsGetsThemWhenOpenedForChanges) {
  site_.addUser("ADMIN", "Admin", "pw", HashCost::kMinimal);
  SQLite::Database(temp_.layout().siteDatabase().string(), SQLite::OPEN_READWRITE)
      .exec("DROP TABLE webapi_grants");
  EXPECT_FALSE(SiteDatabase(temp_.layout(), SiteAccess::ReadOnly).mayUseWebApi("ADMIN", "AR"));
  SiteDatabase(temp_.layout()).grantWebApi("ADMIN", "AR");
  EXPECT_TRUE(SiteDatabase(temp_.layout(), SiteAccess::ReadOnly).mayUseWebApi("ADMIN", "AR"));
}

}  // namespace
}  // namespace erp
