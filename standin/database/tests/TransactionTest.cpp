#include "standin/database/ErpDataSource.h"

#include "standin/database/ErpError.h"
#include "standin/testsupport/TestCompany.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"

#include <SQLiteCpp/Statement.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace erp {
namespace {

using testing::TestCompany;

/// Customers 1000 and 1100 on tax group OLD, changed through a view on the company's connection
/// while the test holds transactions of that connection open.
class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    company.addTaxData();
    for (const char* id : {"1000", "1100"}) {
      company.insert("AR0024", {{"IDCUST", id}, {"CODETAXGRP", "OLD"}, {"NAMECUST", "Name"}});
    }
    customers = company.open("AR0024");
  }

  /// Moves a customer to `group` through the view; the update's return code.
  int setGroup(const char* id, const char* group) {
    customers->put(1, std::string(id), false);
    if (!customers->read()) return -1;
    customers->put(customers->field("CODETAXGRP").number, std::string(group), true);
    customers->update();
    return customers->lastReturnCode();
  }

  /// The group saved for good, as another connection reads it.
  std::string savedGroup(const char* id) {
    CompanyDatabase other(company.file());
    SQLite::Statement query(other.sql(), "SELECT CODETAXGRP FROM AR0024 WHERE IDCUST = ?");
    query.bind(1, id);
    return query.executeStep() ? query.getColumn(0).getString() : "missing";
  }

  CompanyDatabase& database() { return *company.database(); }

  TestCompany company;
  std::unique_ptr<DataSource> customers;
};

TEST_F(TransactionTest, LevelsKeepOrUndoTheirWritesAndOnlyTheOutermostSavesThem) {
  EXPECT_EQ(1, database().beginTransaction());
  ASSERT_EQ(kRcOk, setGroup("1000", "HST"));
  EXPECT_EQ(2, database().beginTransaction());
  ASSERT_EQ(kRcOk, setGroup("1100", "HST"));
  database().rollbackTransaction();
  EXPECT_EQ(2, database().beginTransaction());
  ASSERT_EQ(kRcOk, setGroup("1100", "GAP"));
  database().commitTransaction();
  EXPECT_EQ("OLD", savedGroup("1000")) << "nothing is saved before the outermost commit";
  database().commitTransaction();
  EXPECT_EQ(0, database().transactionLevel());
  EXPECT_EQ("HST", savedGroup("1000"));
  EXPECT_EQ("GAP", savedGroup("1100"));

  database().beginTransaction();
  ASSERT_EQ(kRcOk, setGroup("1000", "OLD"));
  database().rollbackTransaction();
  EXPECT_EQ("HST", savedGroup("1000"));
  EXPECT_THROW(database().commitTransaction(), std::logic_error);
}

TEST_F(TransactionTest, TheOutermostLevelHoldsTheWriteLockFromItsStart) {
  CompanyDatabase other(company.file());
  other.sql().setBusyTimeout(0);
  database().beginTransaction();
  EXPECT_THROW(other.sql().exec("UPDATE AR0024 SET NAMECUST = 'x'"), SQLite::Exception);
  database().commitTransaction();
  EXPECT_EQ(2, other.sql().exec("UPDATE AR0024 SET NAMECUST = 'x'"));
}

TEST_F(TransactionTest, ARefusedWriteInsideATransactionUndoesOnlyItself) {
  database().beginTransaction();
  ASSERT_EQ(kRcOk, setGroup("1000", "HST"));
  customers->clear();
  customers->put(1, std::string("1100"), false);
  EXPECT_THROW(customers->insert(), ErpError) << "1100 exists";
  ASSERT_EQ(kRcOk, setGroup("1100", "GAP"));
  database().commitTransaction();
  EXPECT_EQ("HST", savedGroup("1000"));
  EXPECT_EQ("GAP", savedGroup("1100"));
}

// Look-ups inside a transaction are remembered for the records after; what the same connection
// changes or undoes in the tax tables meanwhile is seen at once, and what another connection
// committed is seen by the next transaction.
TEST_F(TransactionTest, ARememberedLookUpSeesEveryChangeToTheTaxTables) {
  auto groups = company.open("TX0003");
  database().beginTransaction();
  ASSERT_EQ(kRcOk, setGroup("1000", "GAP"));
  database().beginTransaction();
  groups->put(1, std::string("GAP"), false);
  groups->put(2, std::int64_t{1}, false);
  ASSERT_TRUE(groups->read());
  groups->remove();
  ASSERT_EQ(kRcOk, groups->lastReturnCode());
  EXPECT_THROW(setGroup("1100", "GAP"), ErpError) << "the group is gone";
  database().rollbackTransaction();
  EXPECT_EQ(kRcOk, setGroup("1100", "GAP")) << "the delete was undone";
  database().commitTransaction();
  EXPECT_EQ("GAP", savedGroup("1100"));

  CompanyDatabase(company.file()).sql().exec("DELETE FROM TX0003 WHERE GROUPID = 'GAP'");
  database().beginTransaction();
  EXPECT_THROW(setGroup("1000", "GAP"), ErpError) << "deleted by another connection";
  database().rollbackTransaction();
}

// A trigger notes each update that names the customer's name column: changing the tax group
// must not rewrite the name, yet a record changed since it was read is still refused.
TEST_F(TransactionTest, AnUpdateWritesOnlyTheChangedColumnsUnderTheRowVersionCheck) {
  database().sql().exec("CREATE TABLE touched (id TEXT)");
  database().sql().exec(R"(CREATE TRIGGER touch AFTER UPDATE OF "NAMECUST" ON "AR0024" )"
                        "BEGIN INSERT INTO touched VALUES (new.IDCUST); END");
  ASSERT_EQ(kRcOk, setGroup("1000", "HST"));
  customers->put(customers->field("NAMECUST").number, std::string("Renamed"), false);
  customers->update();
  ASSERT_EQ(kRcOk, customers->lastReturnCode());
  EXPECT_EQ("1000", database().sql().execAndGet("SELECT group_concat(id) FROM touched").getString())
      << "only the rename names the column";

  customers->put(1, std::string("1100"), false);
  ASSERT_TRUE(customers->read());
  CompanyDatabase(company.file())
      .sql()
      .exec("UPDATE AR0024 SET _rev = _rev + 1 WHERE IDCUST = '1100'");
  customers->put(customers->field("CODETAXGRP").number, std::string("HST"), true);
  customers->update();
  EXPECT_EQ(kRcChanged, customers->lastReturnCode());
  EXPECT_EQ("OLD", savedGroup("1100"));
}

// A read-only connection, even in a folder whose name a URI would misread, reads what a writer that
// died left in its log, refuses to write, and changes no byte of the database, -wal or -shm.
TEST(ReadOnlyCompanyTest, ReadsWhatADeadWriterCommittedAndChangesNoByte) {
  const platform::testing::TempFolder temp("ordavel-readonly-");
  const std::filesystem::path file = temp.path() / "a b%3F?#" / "company.db";
  std::filesystem::create_directories(file.parent_path());
  CompanyDatabase::create(file);
  if (const pid_t child = ::fork(); child == 0) {
    CompanyDatabase writer(file);  // never closed
    writer.sql().exec("INSERT INTO AR0024 (IDCUST) VALUES ('1000')");
    ::_exit(0);
  } else {
    ::waitpid(child, nullptr, 0);
  }
  auto bytes = [&file] {
    std::string all;
    for (const char* suffix : {"", "-wal", "-shm"}) {
      std::ifstream in(file.string() + suffix, std::ios::binary);
      all += std::string(std::istreambuf_iterator<char>(in), {}) + '|';
    }
    return all;
  };
  const std::string before = bytes();
  ASSERT_TRUE(std::filesystem::exists(file.string() + "-shm"));
  {
    CompanyDatabase reader(file, ViewCatalog::standard(), CompanyAccess::ReadOnly);
    EXPECT_EQ(1, reader.sql().execAndGet("SELECT count(*) FROM AR0024").getInt());
    EXPECT_THROW(reader.sql().exec("DELETE FROM AR0024"), SQLite::Exception);
  }
  EXPECT_TRUE(before == bytes());
}

}  // namespace
}  // namespace erp
