#include "platform/tests/testsupport/TempFolder.h"
#include "platform/tests/testsupport/TestData.h"
#include "standin/catalog/ViewCatalog.h"
#include "standin/command/Commands.h"
#include "standin/database/ErpError.h"
#include "standin/sample/CompanyGenerator.h"
#include "standin/site/SiteDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace erp {
namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> result;
  std::istringstream in(line);
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

class QueryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    temp_ = new platform::testing::TempFolder("ordavel-query-");
    generateCompany(temp_->path(), {"QRY", "Query Test Ltd.", {{"customers", 40}, {"items", 6}}});
  }
  static void TearDownTestSuite() { delete temp_; }

  static std::string query(const std::string& company, const std::string& view,
                           const std::string& filter) {
    std::ostringstream out;
    printRecords(temp_->path(), company, view, filter, out);
    return out.str();
  }

  static platform::testing::TempFolder* temp_;
};

platform::testing::TempFolder* QueryTest::temp_ = nullptr;

TEST_F(QueryTest, PrintsKeyAndTaxFieldsOfTheMatchingRecordsInKeyOrder) {
  const std::vector<std::string> output =
      lines(query("QRY", "AR0024", "IDCUST <= \"1020\" OR IDCUST = \"1300\""));
  ASSERT_EQ(6u, output.size());
  const std::vector<std::string> header = words(output[0]);
  ASSERT_EQ(12u, header.size());
  EXPECT_EQ("IDCUST", header[0]);
  EXPECT_EQ("CODETAXGRP", header[1]);
  EXPECT_EQ("TAXSTTS1", header[2]);
  EXPECT_EQ("IDTAXREGI5", header[11]);
  EXPECT_EQ((std::vector<std::string>{"1000", "ONGSTPST", "1", "1", "0", "0", "0",
                                      "810000000RT0001", "3345-7789"}),
            words(output[1]));
  EXPECT_EQ("1010", words(output[2])[0]);
  EXPECT_EQ("1020", words(output[3])[0]);
  EXPECT_EQ("1300", words(output[4])[0]);
  EXPECT_EQ("4 records.", output[5]);
}

TEST_F(QueryTest, SeparatesColumnsByTwoBlanksUnderTheirNames) {
  const std::vector<std::string> output = lines(query("QRY", "IC0330", "ITEMNO = \"A1100001\""));
  ASSERT_EQ(4u, output.size());
  EXPECT_EQ(0u, output[0].find("ITEMNO                    AUTHORITY     PURCHCLASS  SALESCLASS"));
  EXPECT_EQ(output[0].find("AUTHORITY"), output[1].find("GST"));
  EXPECT_EQ(output[0].find("AUTHORITY"), output[2].find("ONPST"));
  EXPECT_EQ("2 records.", output[3]);
}

TEST_F(QueryTest, AnOptionsViewShowsItsOneRecord) {
  const std::vector<std::string> output = lines(query("QRY", "IC0380", ""));
  ASSERT_EQ(3u, output.size());
  EXPECT_EQ("1 records.", output[2]);
}

TEST_F(QueryTest, RefusesBadFiltersUnknownCompaniesAndViews) {
  auto check = [](const char* company, const char* view, const char* filter, const char* message) {
    try {
      query(company, view, filter);
      ADD_FAILURE() << "no error for " << filter;
    } catch (const std::exception& error) {
      EXPECT_EQ(0u, std::string(error.what()).find(message)) << error.what();
    }
  };
  check("QRY", "AR0024", "IDCUST <=", "Invalid filter. ");
  check("QRY", "AR0024", "NOSUCH = 1", "Invalid filter. ");
  check("NONE", "AR0024", "", "Company NONE does not exist.");
  check("QRY", "XX0001", "", "View XX0001 does not exist.");
}

TEST_F(QueryTest, TheCommandLineReportsTheErpErrorOfABadFilter) {
  std::vector<std::string> words{"erp", "query",  temp_->path().string(),
                                 "QRY", "AR0024", "IDCUST = "};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(1, runErpCommand(static_cast<int>(argv.size()), argv.data()));
  EXPECT_EQ(0u, ::testing::internal::GetCapturedStderr().find("erp: Invalid filter. "));
}

TEST(CatalogCommandTest, ViewsAreListedWithTheirDescriptionsAndHeaders) {
  std::ostringstream out;
  printViews(out);
  const std::vector<std::string> output = lines(out.str());
  EXPECT_EQ(ViewCatalog::standard().views().size(), output.size());
  for (const char* line : {"AR0024  Customers", "AR0011  A/R Item Taxes (detail of AR0010)",
                           "AR0001  A/R Options (one record)"}) {
    EXPECT_NE(output.end(), std::find(output.begin(), output.end(), line)) << line;
  }
}

TEST(CatalogCommandTest, FieldsShowNumberNameDescriptionTypeAndSizeThenTheKeys) {
  std::ostringstream out;
  printFields("AR0011", out);
  EXPECT_EQ(platform::testing::TestData("standin/command/tests/data/AR0011.fields"), out.str());
  EXPECT_THROW(printFields("XX0001", out), std::runtime_error);
}

TEST(UserCommandTest, GrantsAndRevokesWebApiAuthorizations) {
  platform::testing::TempFolder folder;
  SiteDatabase::create(SiteLayout(folder.path()));
  SiteDatabase(SiteLayout(folder.path())).addUser("CLERK", "Clerk", "pw", HashCost::kMinimal);
  auto run = [&folder](std::vector<std::string> words) {
    words.insert(words.begin(), {"erp", "user"});
    words.insert(words.begin() + 3, folder.path().string());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    ::testing::internal::CaptureStderr();
    const int status = runErpCommand(static_cast<int>(argv.size()), argv.data());
    ::testing::internal::GetCapturedStderr();
    return status;
  };
  EXPECT_EQ(0, run({"grant", "CLERK", "--web-api", "AR", "--web-api", "ic"}));
  EXPECT_EQ(1, run({"revoke", "CLERK", "--web-api", "AR", "--web-api", "AP"}));
  EXPECT_EQ(0, run({"revoke", "CLERK", "--web-api", "AR"}));
  EXPECT_NE(0, run({"grant", "CLERK"}));
  EXPECT_EQ((std::vector<std::string>{"IC"}),
            SiteDatabase(SiteLayout(folder.path())).webApiModules("CLERK"));
}

}  // namespace
}  // namespace erp
