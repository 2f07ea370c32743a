#include "host/webapi/tests/testsupport/ServedCompany.h"

#include "host/HostError.h"

#include "standin/database/ErpError.h"

#include <gtest/gtest.h>

namespace host::webapi {
namespace {

using testing::ServedCompany;
using I = std::int64_t;

erp::webapi::ServerOptions Served(int pageSize = 100, int tooManyRequests = 0, int delayMs = 0) {
  erp::webapi::ServerOptions options;
  options.pageSize = pageSize;
  options.tooManyRequests = tooManyRequests;
  options.delayMs = delayMs;
  return options;
}

/// Customers on OLD (GST, PST) and HST, and A/R items with a GST and a PST row, served.
class WebApiDataSourceTest : public ::testing::Test {
 protected:
  explicit WebApiDataSourceTest(erp::webapi::ServerOptions options = Served(2))
      : served(std::move(options)) {
    for (auto [id, group, class1, class2] : {std::tuple{"1000", "OLD", 1, 1},
                                             {"1010", "OLD", 2, 2},
                                             {"1020", "HST", 1, 0},
                                             {"1030", "OLD", 1, 1},
                                             {"A'1", "OLD", 1, 1}}) {
      setCustomer(id, group, class1, class2, true);
    }
    served.data().insert("AR0010", {{"IDITEM", "ITEM1"}});
    for (const char* authority : {"GST", "PST"}) {
      served.data().insert("AR0011",
                           {{"IDITEM", "ITEM1"}, {"AUTHORITY", authority}, {"TAXSTTS", I{1}}});
    }
    served.signOn();
  }

  /// Another program's change of a customer, straight into the company's database.
  void setCustomer(const std::string& id, const std::string& group, int class1, int class2,
                   bool insert = false) {
    if (insert) {
      served.data().insert("AR0024", {{"IDCUST", id},
                                      {"CODETAXGRP", group},
                                      {"TAXSTTS1", I{class1}},
                                      {"TAXSTTS2", I{class2}}});
      return;
    }
    auto other = served.data().open("AR0024");
    other->put(1, id, false);
    ASSERT_TRUE(other->read());
    other->put(38, group, false);
    other->put(39, I{class1}, false);
    other->put(40, I{class2}, false);
    other->update();
  }

  /// A customer's tax group and first two classes as stored: "OLD 1 1".
  std::string stored(const std::string& id) {
    auto view = served.data().open("AR0024");
    view->put(1, id, false);
    if (!view->read()) return "none";
    return view->text(38) + " " + view->text(39) + " " + view->text(40);
  }

  ServedCompany served;
};

TEST_F(WebApiDataSourceTest, ABrowseCollectsEveryKeyFirstAndReadsEachRecordAsItIsFetched) {
  auto customers = served.open("AR0024");
  const std::string filter = "(IDCUST >= \" \") AND (CODETAXGRP = \"OLD \")";
  EXPECT_EQ(4, customers->Count(filter, 0)) << "in pages of two";
  customers->Browse(filter, true);
  std::vector<std::string> fetched;
  while (customers->Fetch(false)) {
    fetched.push_back(customers->Fields(1).Text() + " " + customers->Fields(40).Text());
    if (fetched.size() == 1) {
      setCustomer("1010", "OLD", 3, 3);  // still selected, read as it is now
      setCustomer("1030", "HST", 1, 0);  // no longer selected
    }
  }
  EXPECT_EQ((std::vector<std::string>{"1000 1", "1010 3", "A'1 1"}), fetched);
}

// HST has one authority: a second class is valid only once the group is OLD.
TEST_F(WebApiDataSourceTest, AnUpdateIsSentAtTheCommitWithTheTaxGroupBeforeItsClasses) {
  auto customers = served.open("AR0024");
  auto link = served.connection().CompanyDBLinkRW();
  for (bool commit : {false, true}) {
    customers->Fields(1).PutWithoutVerification(std::string("1020"));
    ASSERT_TRUE(customers->Read());
    link->TransactionBegin();
    customers->Fields(38).PutWithVerification(std::string("OLD"));
    customers->Fields("TAXSTTS2").PutWithVerification(I{1});
    customers->Update();
    EXPECT_EQ(0, customers->LastReturnCode());
    EXPECT_EQ("HST 1 0", stored("1020")) << "nothing is sent before the commit";
    commit ? link->TransactionCommit() : link->TransactionRollback();
  }
  EXPECT_EQ("OLD 1 1", stored("1020"));
}

TEST_F(WebApiDataSourceTest, ARecordAnotherUserChangedSinceItWasReadIsNotSaved) {
  auto customers = served.open("AR0024");
  customers->Fields(1).PutWithoutVerification(std::string("1000"));
  ASSERT_TRUE(customers->Read());
  setCustomer("1000", "OLD", 1, 2);
  customers->Fields(38).PutWithVerification(std::string("HST"));
  customers->Fields("TAXSTTS2").PutWithVerification(I{0});
  customers->Update();
  EXPECT_EQ(3, customers->LastReturnCode());
  EXPECT_EQ(std::vector<std::string>{"Customers 1000 was changed by another user since it was "
                                     "read. Nothing was saved."},
            served.errorTexts());
  EXPECT_EQ("OLD 1 2", stored("1000"));
}

// The server's business logic, here a trigger, stores other tax data than the program sent.
TEST_F(WebApiDataSourceTest, ARecordTheServerDoesNotStoreAsSentFailsItsSave) {
  served.data().database()->sql().exec(
      "CREATE TRIGGER meddle AFTER UPDATE OF CODETAXGRP ON AR0024 BEGIN "
      "UPDATE AR0024 SET TAXSTTS1 = 3 WHERE IDCUST = NEW.IDCUST; END;");
  auto customers = served.open("AR0024");
  customers->Fields(1).PutWithoutVerification(std::string("1000"));
  ASSERT_TRUE(customers->Read());
  customers->Fields(38).PutWithVerification(std::string("HST"));
  customers->Fields("TAXSTTS2").PutWithVerification(I{0});
  try {
    customers->Update();
    ADD_FAILURE() << "the save was taken as done";
  } catch (const HostError& error) {
    EXPECT_EQ(
        "Customers 1000 was changed by another user while it was being saved: it does not "
        "hold what this run saved. Check the record.",
        error.Description());
  }
}

TEST_F(WebApiDataSourceTest, DetailRowsAreInsertedAndDeletedWithTheirHeader) {
  auto items = served.open("AR0010");
  auto rows = served.open("AR0011", items.get());
  items->Fields(1).PutWithoutVerification(std::string("ITEM1"));
  ASSERT_TRUE(items->Read());
  rows->ClearRecord();
  rows->Fields(2).PutWithVerification(std::string("hst"));
  rows->Fields(3).PutWithVerification(I{2});
  rows->Insert();
  rows->ClearRecord();
  rows->Fields(2).PutWithoutVerification(std::string("PST"));
  ASSERT_TRUE(rows->Read());
  rows->Delete();
  EXPECT_TRUE(rows->DetailChanges());
  items->Update();
  EXPECT_EQ(0, items->LastReturnCode());
  auto stored = served.data().open("AR0011");
  stored->browse("(IDITEM = \"ITEM1 \")");
  std::string text;
  while (stored->fetch()) text += stored->text(2) + " " + stored->text(3) + "; ";
  EXPECT_EQ("GST 1; HST 2; ", text);
}

// Without a call that only verifies, the program checks against the tax tables it read, and
// refuses what the ERP refuses with the ERP's own message.
TEST_F(WebApiDataSourceTest, APutWithVerificationRefusesWhatTheErpRefusesWithItsMessage) {
  struct Put {
    const char* view;
    int field;
    Variant value;
  };
  for (const Put& put :
       {Put{"AR0024", 38, std::string("NOPE")}, Put{"AR0024", 41, I{1}}, Put{"AR0024", 39, I{4}},
        Put{"AR0011", 2, std::string("XX")}, Put{"AR0011", 3, I{9}}, Put{"AR0011", 4, I{1}},
        Put{"AR0024", 2, std::string(11, 'x')}}) {
    auto erp = served.data().open(put.view);
    auto client = served.open(put.view);
    for (int field : {1, 2}) {
      const Variant fill =
          std::string(field == 1 ? (std::string(put.view) == "AR0024" ? "1000" : "ITEM1") : "GST");
      erp->put(field, fill, false);
      client->Fields(field).PutWithoutVerification(fill);
    }
    if (std::string(put.view) == "AR0024") {
      erp->put(38, std::string("OLD"), false);
      client->Fields(38).PutWithoutVerification(std::string("OLD"));
    }
    std::string expected = "accepted";
    try {
      erp->put(put.field, put.value, true);
    } catch (const erp::ErpError& error) {
      expected = error.what();
    }
    std::string got = "accepted";
    try {
      client->Fields(put.field).PutWithVerification(put.value);
    } catch (const HostError& error) {
      got = error.Description();
    }
    EXPECT_EQ(expected, got) << put.view << " field " << put.field;
  }
}

// A preview takes its records through the views as a conversion would, and nothing reaches the
// server.
TEST_F(WebApiDataSourceTest, APreviewsSessionChangesRecordsButSavesNone) {
  served.signOn("ADMIN", "pw", "SAMLTD", CompanyAccess::ReadOnly);
  auto items = served.open("AR0010");
  auto rows = served.open("AR0011", items.get());
  items->Fields(1).PutWithoutVerification(std::string("ITEM1"));
  ASSERT_TRUE(items->Read());
  rows->ClearRecord();
  rows->Fields(2).PutWithVerification(std::string("HST"));
  rows->Insert();
  EXPECT_TRUE(rows->DetailChanges());
  try {
    items->Update();
    ADD_FAILURE() << "a preview saved";
  } catch (const HostError& error) {
    EXPECT_EQ("A/R Items ITEM1 was not saved: the company is open for reading only.",
              error.Description());
  }
  EXPECT_EQ(2, served.data().open("AR0011")->count("(IDITEM = \"ITEM1 \")"));
}

class BusyServerTest : public WebApiDataSourceTest {
 protected:
  BusyServerTest() : WebApiDataSourceTest(Served(100, 2)) {}
};

TEST_F(BusyServerTest, EveryRequestTheServerIsTooBusyForIsAskedAgain) {
  auto customers = served.open("AR0024");
  customers->Fields(1).PutWithoutVerification(std::string("1000"));
  ASSERT_TRUE(customers->Read());
  customers->Fields(38).PutWithVerification(std::string("HST"));
  customers->Fields("TAXSTTS2").PutWithVerification(I{0});
  customers->Update();
  EXPECT_EQ("HST 1 0", stored("1000"));
  EXPECT_GT(served.counts().retries, 0);
}

TEST(WebApiFaultTest, AServerThatStopsFailsTheRequestAndThenFailsFast) {
  ServedCompany served;
  served.signOn();
  auto customers = served.open("AR0024");
  served.server().stop();
  for (int attempt = 0; attempt < 2; ++attempt) {
    const long before = served.counts().requests;
    EXPECT_THROW(customers->Count("", 0), HostError);
    EXPECT_EQ(attempt == 0 ? 6 : 1, served.counts().requests - before);
  }
  EXPECT_TRUE(served.errorTexts().back().starts_with("The Web API server at http://127.0.0.1:"));
  EXPECT_TRUE(served.errorTexts().back().ends_with(" cannot be reached: Connection."));
}

TEST(WebApiFaultTest, AServerSlowerThanTheTimeoutRefusesTheSignon) {
  ServedCompany served(Served(100, 0, 1500), std::chrono::seconds(1));
  EXPECT_EQ(nullptr, served.signOn().Session());
  ASSERT_EQ(1u, served.refusals().size());
  EXPECT_TRUE(served.refusals()[0].ends_with(" did not answer within 1 seconds."));
}

}  // namespace
}  // namespace host::webapi
