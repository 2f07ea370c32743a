#include "standin/database/ErpDataSource.h"

#include "standin/database/ErpError.h"
#include "standin/database/ValueText.h"
#include "standin/testsupport/TestCompany.h"

#include <gtest/gtest.h>

namespace erp {
namespace {

using testing::TestCompany;

class DataSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    company.addTaxData();
    for (const char* id : {"1200", "1000", "1100", "2000", "10"}) {
      company.insert("AR0024", {{"IDCUST", id},
                                {"CODETAXGRP", "OLD"},
                                {"TAXSTTS1", std::int64_t{1}},
                                {"TAXSTTS2", std::int64_t{1}}});
    }
  }

  std::vector<std::string> browseAll(DataSource& customers, const std::string& filter,
                                     bool ascending = true) {
    customers.browse(filter, ascending);
    std::vector<std::string> keys;
    while (customers.fetch()) keys.push_back(customers.text(1));
    return keys;
  }

  TestCompany company;
};

TEST_F(DataSourceTest, BrowseReturnsRecordsInKeyOrderFromTheCurrentKeyValues) {
  auto customers = company.open("AR0024");
  EXPECT_EQ((std::vector<std::string>{"10", "1000", "1100", "1200", "2000"}),
            browseAll(*customers, ""));
  // The browse starts at the key values in the buffer, so a key reset to the lowest value is
  // what makes a browse start at the first record.
  customers->put(1, std::string("1100"), false);
  EXPECT_EQ((std::vector<std::string>{"1100", "1200", "2000"}), browseAll(*customers, ""));
  customers->put(1, lowestValue(customers->field(1)), false);
  EXPECT_EQ((std::vector<std::string>{"1000", "1100", "1200"}),
            browseAll(*customers, "(IDCUST>=\"1000 \") AND (IDCUST<=\"1200 \")"));
  customers->put(1, std::string("1200"), false);
  EXPECT_EQ((std::vector<std::string>{"1200", "1100", "1000", "10"}),
            browseAll(*customers, "", false));
}

TEST_F(DataSourceTest, BrowseWalksBeyondOneBatchAndSurvivesUpdatesOnTheWay) {
  for (int i = 0; i < 1300; ++i) {
    company.insert("AR0024", {{"IDCUST", "C" + std::to_string(10000 + i)}, {"CODETAXGRP", "OLD"}});
  }
  auto customers = company.open("AR0024");
  EXPECT_EQ(1300, customers->count("(CODETAXGRP=\"OLD \") AND (IDCUST>=\"C\")"));
  customers->browse("(CODETAXGRP=\"OLD \") AND (IDCUST>=\"C\")", true);
  int fetched = 0;
  while (customers->fetch()) {
    customers->put(customers->field("CODETAXGRP").number, std::string("HST"), false);
    customers->update();
    ASSERT_EQ(kRcOk, customers->lastReturnCode());
    ++fetched;
  }
  EXPECT_EQ(1300, fetched);
  EXPECT_EQ(0, customers->count("(CODETAXGRP=\"OLD \") AND (IDCUST>=\"C\")"));
}

TEST_F(DataSourceTest, UpdateOfARecordChangedByAnotherSessionFailsAndWritesNothing) {
  auto mine = company.open("AR0024");
  CompanyDatabase otherConnection(company.file());
  ErrorList otherErrors;
  DataSource theirs(std::shared_ptr<CompanyDatabase>(&otherConnection, [](CompanyDatabase*) {}),
                    otherErrors, false, "AR0024");
  int group = mine->field("CODETAXGRP").number;
  mine->put(1, std::string("1000"), false);
  ASSERT_TRUE(mine->read());
  theirs.put(1, std::string("1000"), false);
  ASSERT_TRUE(theirs.read());
  theirs.put(group, std::string("HST"), false);
  theirs.update();
  ASSERT_EQ(kRcOk, theirs.lastReturnCode());

  company.errors().clear();
  mine->put(group, std::string("GAP"), false);
  mine->update();
  EXPECT_NE(kRcOk, mine->lastReturnCode());
  ASSERT_EQ(1u, company.errors().count());
  EXPECT_EQ("Customers 1000 was changed by another user since it was read. Nothing was saved.",
            company.errors().at(0).text);
  mine->put(1, std::string("1000"), false);
  ASSERT_TRUE(mine->read());
  EXPECT_EQ("HST", mine->text(group));
}

TEST_F(DataSourceTest, AWriteTheLockedDatabaseRefusesSaysWhyAndSavesNothing) {
  auto mine = company.open("AR0024");
  company.database()->sql().setBusyTimeout(10);
  CompanyDatabase otherConnection(company.file());
  otherConnection.sql().exec("BEGIN IMMEDIATE");
  const int group = mine->field("CODETAXGRP").number;
  mine->put(1, std::string("1000"), false);
  ASSERT_TRUE(mine->read());
  company.errors().clear();
  mine->put(group, std::string("HST"), false);
  EXPECT_THROW(mine->update(), ErpError);
  EXPECT_EQ(kRcLocked, mine->lastReturnCode());
  ASSERT_EQ(1u, company.errors().count());
  EXPECT_EQ("Customers 1000 was not saved. The company database stayed locked by another program.",
            company.errors().at(0).text);
  otherConnection.sql().exec("ROLLBACK");
  mine->put(1, std::string("1000"), false);
  ASSERT_TRUE(mine->read());
  EXPECT_EQ("OLD", mine->text(group));
}

TEST_F(DataSourceTest, AReadOnlyLinkRefusesEveryWrite) {
  auto customers = company.open("AR0024", /*readOnly=*/true);
  customers->put(1, std::string("1000"), false);
  ASSERT_TRUE(customers->read());
  customers->put(customers->field("CODETAXGRP").number, std::string("HST"), false);
  EXPECT_THROW(customers->update(), ErpError);
  EXPECT_EQ(kRcRefused, customers->lastReturnCode());
  EXPECT_THROW(customers->remove(), ErpError);
  customers->put(1, std::string("3000"), false);
  EXPECT_THROW(customers->insert(), ErpError);
  customers->put(1, std::string("1000"), false);
  ASSERT_TRUE(customers->read());
  EXPECT_EQ("OLD", customers->text(customers->field("CODETAXGRP").number));
}

TEST_F(DataSourceTest, InsertAndDeleteWithTheirReturnCodes) {
  auto customers = company.open("AR0024");
  customers->put(1, std::string("3000"), true);
  customers->insert();
  EXPECT_EQ(kRcOk, customers->lastReturnCode());
  customers->clear();
  customers->put(1, std::string("3000"), false);
  EXPECT_THROW(customers->insert(), ErpError);
  EXPECT_EQ(kRcDuplicate, customers->lastReturnCode());
  ASSERT_TRUE(customers->read());
  customers->remove();
  EXPECT_EQ(kRcOk, customers->lastReturnCode());
  EXPECT_FALSE(customers->read());
  customers->clear();
  EXPECT_THROW(customers->insert(), ErpError) << "a blank key is refused";
}

TEST_F(DataSourceTest, MalformedFilterIsAnErrorInTheListNotAnUnfilteredBrowse) {
  auto customers = company.open("AR0024");
  company.errors().clear();
  EXPECT_THROW(customers->browse("(NOSUCHFIELD = 1)"), ErpError);
  ASSERT_EQ(1u, company.errors().count());
  EXPECT_NE(std::string::npos, company.errors().at(0).text.find("NOSUCHFIELD"));
  EXPECT_FALSE(customers->fetch());
  EXPECT_THROW(customers->count("(IDCUST = \"1000"), ErpError);
}

TEST_F(DataSourceTest, PutsKeepToTheFieldsSizeAndType) {
  auto customers = company.open("AR0024");
  customers->put(1, std::string("ABCDEFGHIJKLMNOP"), false);
  EXPECT_EQ("ABCDEFGHIJKL", customers->text(1)) << "a put without verification cuts to size";
  EXPECT_THROW(customers->put(1, std::string("ABCDEFGHIJKLMNOP"), true), ErpError);
  EXPECT_THROW(customers->put(customers->field("TAXSTTS1").number, std::string("x"), false),
               ErpError);
  EXPECT_THROW(customers->setKeyNumber(99), ErpError);
}

}  // namespace
}  // namespace erp
