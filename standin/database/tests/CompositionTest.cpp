#include "standin/database/ErpDataSource.h"

#include "standin/database/ErpError.h"
#include "standin/testsupport/TestCompany.h"

#include <gtest/gtest.h>

namespace erp {
namespace {

using testing::TestCompany;
using I = std::int64_t;

/// A/R items (header) with their per-authority tax rows (detail): authority 2, class 3,
/// tax included 4.
class CompositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    company.addTaxData();
    for (const char* item : {"A100", "B200"}) {
      company.insert("AR0010", {{"#1", item}});
      company.insert("AR0011", {{"#1", item}, {"#2", "GST"}, {"#3", I{1}}, {"#4", I{0}}});
      company.insert("AR0011", {{"#1", item}, {"#2", "PST"}, {"#3", I{1}}, {"#4", I{0}}});
    }
    items = company.open("AR0010");
    taxes = company.open("AR0011");
    items->composeDetail(*taxes);
  }

  void readItem(const char* item) {
    items->put(1, std::string(item), false);
    ASSERT_TRUE(items->read());
  }

  /// Whether the committed data has a tax row, read through a fresh connection.
  bool committedRow(const char* item, const char* authority, I* taxClass = nullptr) {
    CompanyDatabase other(company.file());
    ErrorList errors;
    DataSource rows(std::shared_ptr<CompanyDatabase>(&other, [](CompanyDatabase*) {}), errors, true,
                    "AR0011");
    rows.put(1, std::string(item), false);
    rows.put(2, std::string(authority), false);
    if (!rows.read()) return false;
    if (taxClass) *taxClass = std::get<I>(rows.value(3));
    return true;
  }

  TestCompany company;
  std::unique_ptr<DataSource> items;
  std::unique_ptr<DataSource> taxes;
};

TEST_F(CompositionTest, DetailFindsTheHeadersRowForAnAuthority) {
  readItem("B200");
  taxes->clear();
  EXPECT_EQ("B200", taxes->text(1)) << "a cleared detail keeps its header's key";
  taxes->put(2, std::string("PST"), false);
  EXPECT_TRUE(taxes->read());
  taxes->clear();
  taxes->put(2, std::string("HST"), false);
  EXPECT_FALSE(taxes->read());
}

TEST_F(CompositionTest, DetailChangesTakeEffectWithTheHeadersUpdate) {
  readItem("A100");
  taxes->clear();
  taxes->put(2, std::string("HST"), true);
  taxes->put(3, I{2}, true);
  taxes->put(4, I{1}, true);
  taxes->insert();
  taxes->clear();
  taxes->put(2, std::string("GST"), false);
  ASSERT_TRUE(taxes->read());
  taxes->remove();
  taxes->clear();
  taxes->put(2, std::string("PST"), false);
  ASSERT_TRUE(taxes->read());
  taxes->put(3, I{3}, true);
  taxes->update();

  EXPECT_TRUE(taxes->detailChanges());
  EXPECT_FALSE(committedRow("A100", "HST")) << "nothing is written before the header's update";
  EXPECT_TRUE(committedRow("A100", "GST"));

  items->update();
  EXPECT_EQ(kRcOk, items->lastReturnCode());
  EXPECT_FALSE(taxes->detailChanges());
  I pstClass = 0;
  EXPECT_TRUE(committedRow("A100", "HST"));
  EXPECT_FALSE(committedRow("A100", "GST"));
  EXPECT_TRUE(committedRow("A100", "PST", &pstClass));
  EXPECT_EQ(3, pstClass);
  EXPECT_TRUE(committedRow("B200", "GST")) << "other headers' rows are untouched";
}

// An update writes only the columns that differ from the row as read, so two updates of one row
// before the header's update, and a row deleted and inserted again, must keep every change.
TEST_F(CompositionTest, ARowChangedTwiceOrReplacedKeepsEveryChange) {
  readItem("A100");
  auto change = [this](const char* authority, int field, I value) {
    taxes->clear();
    taxes->put(2, std::string(authority), false);
    ASSERT_TRUE(taxes->read());
    taxes->put(field, value, true);
    taxes->update();
  };
  change("PST", 3, 2);
  change("PST", 4, 1);
  taxes->clear();
  taxes->put(2, std::string("GST"), false);
  ASSERT_TRUE(taxes->read());
  taxes->remove();
  taxes->clear();
  taxes->put(2, std::string("GST"), true);
  taxes->put(3, I{3}, true);
  taxes->insert();
  items->update();
  ASSERT_EQ(kRcOk, items->lastReturnCode());
  SQLite::Database other(company.file().string());
  EXPECT_EQ(
      "GST 3 0,PST 2 1",
      other
          .execAndGet("SELECT group_concat(AUTHORITY || ' ' || TAXSTTS || ' ' || SWTAXINCL) FROM "
                      "(SELECT * FROM AR0011 WHERE IDITEM = 'A100' ORDER BY AUTHORITY)")
          .getString());
}

TEST_F(CompositionTest, ReadingAnotherHeaderDiscardsUncommittedDetailChanges) {
  readItem("A100");
  taxes->clear();
  taxes->put(2, std::string("HST"), true);
  taxes->insert();
  ASSERT_TRUE(taxes->detailChanges());
  readItem("B200");
  EXPECT_FALSE(taxes->detailChanges());
  items->update();
  EXPECT_FALSE(committedRow("A100", "HST"));
  EXPECT_FALSE(committedRow("B200", "HST"));

  items->put(1, std::string(), false);
  items->browse("", true);
  ASSERT_TRUE(items->fetch());
  taxes->clear();
  taxes->put(2, std::string("HST"), true);
  taxes->insert();
  ASSERT_TRUE(items->fetch()) << "fetching the next header also discards";
  EXPECT_FALSE(taxes->detailChanges());
}

TEST_F(CompositionTest, ARefusedDetailChangeLeavesHeaderAndDetailsAsTheyWere) {
  readItem("A100");
  taxes->clear();
  taxes->put(2, std::string("GST"), false);
  ASSERT_TRUE(taxes->read());
  EXPECT_THROW(taxes->put(4, I{1}, true), ErpError) << "GST does not allow tax included";
  EXPECT_FALSE(taxes->detailChanges());
  EXPECT_FALSE(items->pendingChanges());
  taxes->clear();
  taxes->put(2, std::string("GST"), true);
  EXPECT_THROW(taxes->insert(), ErpError) << "the row exists already";
  EXPECT_EQ(kRcDuplicate, taxes->lastReturnCode());
  EXPECT_FALSE(taxes->detailChanges());
}

// On its own or inside a transaction of the link (a batch of records), a header write whose
// detail rows conflict undoes its own rows, and only those.
class DetailConflictTest : public CompositionTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DetailConflictTest, AConflictOnADetailRowRollsBackTheHeaderToo) {
  const bool insideTransaction = GetParam();
  readItem("A100");
  taxes->clear();
  taxes->put(2, std::string("HST"), true);
  taxes->insert();
  taxes->clear();
  taxes->put(2, std::string("GST"), false);
  ASSERT_TRUE(taxes->read());
  taxes->remove();

  {  // another session changes the GST row after it was read here
    CompanyDatabase other(company.file());
    ErrorList errors;
    DataSource rows(std::shared_ptr<CompanyDatabase>(&other, [](CompanyDatabase*) {}), errors,
                    false, "AR0011");
    rows.put(1, std::string("A100"), false);
    rows.put(2, std::string("GST"), false);
    ASSERT_TRUE(rows.read());
    rows.put(3, I{2}, true);
    rows.update();
    ASSERT_EQ(kRcOk, rows.lastReturnCode());
  }
  company.errors().clear();
  if (insideTransaction) company.database()->beginTransaction();
  items->update();
  EXPECT_NE(kRcOk, items->lastReturnCode());
  if (insideTransaction) company.database()->commitTransaction();
  EXPECT_EQ(1u, company.errors().count());
  EXPECT_TRUE(committedRow("A100", "GST")) << "the delete was rolled back";
  EXPECT_FALSE(committedRow("A100", "HST")) << "the insert was rolled back";
}

INSTANTIATE_TEST_SUITE_P(Writes, DetailConflictTest, ::testing::Bool());

TEST_F(CompositionTest, OnlyTheViewsDetailCanBeComposed) {
  auto customers = company.open("AR0024");
  EXPECT_THROW(customers->composeDetail(*taxes), ErpError);
}

}  // namespace
}  // namespace erp
