#include "host/standin/StandinSession.h"

#include "host/AccpacConnection.h"
#include "host/HostError.h"

#include "standin/database/ErpDataSource.h"
#include "standin/database/ErpError.h"
#include "standin/site/SiteDatabase.h"
#include "standin/site/tests/testsupport/ScriptedPrompt.h"
#include "standin/testsupport/SiteTempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace host::standin {
namespace {

/// A site with company SAMLTD, user ADMIN and a desktop session, in a temporary folder.
class StandinSessionTest : public ::testing::Test {
 protected:
  StandinSessionTest() {
    erp::SiteDatabase site(temp.layout());
    site.addCompany("SAMLTD", "Sample Company Limited");
    site.addUser("ADMIN", "Administrator", "secret", erp::HashCost::kMinimal);
    site.grantCompany("ADMIN", "SAMLTD");
    desktopHandle = site.createDesktopSession("ADMIN", "SAMLTD");
  }

  std::unique_ptr<AccpacConnection> connect(std::string commandLine) {
    return std::make_unique<AccpacConnection>(
        StandinHostServices(temp.folder(), prompt, display, std::move(commandLine)));
  }

  erp::TempSite temp;
  erp::testing::ScriptedPrompt prompt;
  std::ostringstream shownErrors;
  erp::ConsoleErrorDisplay display{shownErrors};
  std::int32_t desktopHandle = 0;
};

TEST_F(StandinSessionTest, SignsOnThroughThePromptAndReadsTheCompany) {
  prompt.answers = {erp::Credentials{"ADMIN", "wrong", "SAMLTD"},
                    erp::Credentials{"ADMIN", "secret", "SAMLTD"}};
  auto connection = connect("");
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  ASSERT_EQ(2u, prompt.messages.size());
  EXPECT_EQ("", prompt.messages[0]);
  EXPECT_NE("", prompt.messages[1]) << "the refusal is shown on the next ask";
  EXPECT_EQ("SAMLTD", connection->Session()->CompanyID());
  EXPECT_EQ("ADMIN", connection->Session()->UserID());
  EXPECT_EQ(temp.folder().string(), connection->Session()->SharedDataFolder());
}

// A cancelled sign-on and a stale desktop handle leave the ERP without a session, and the
// program must see none either.
TEST_F(StandinSessionTest, NoErpSessionIsNoSession) {
  EXPECT_FALSE(connect("")->Logon("ZX1000", 0));
  auto stale = connect("999999");
  EXPECT_FALSE(stale->Logon("ZX1000", 1));
  EXPECT_EQ(nullptr, stale->Session());
}

TEST_F(StandinSessionTest, JoiningADesktopSessionAndLinkingTheWindow) {
  auto connection = connect(std::to_string(desktopHandle) + " more");
  ASSERT_TRUE(connection->Logon("ZX1000", 4242));
  EXPECT_TRUE(prompt.messages.empty()) << "no prompt when joining the desktop";
  erp::SiteDatabase site{erp::SiteLayout(temp.folder())};
  EXPECT_EQ(std::vector<std::uint32_t>{4242}, site.linkedWindows(desktopHandle));
  connection->Logoff();
  EXPECT_TRUE(site.linkedWindows(desktopHandle).empty());
  EXPECT_NE(nullptr, connection->Session()) << "the desktop's session is not signed off";
}

TEST_F(StandinSessionTest, OptionValuesAndAReadOnlyLinkRefusingWrites) {
  prompt.answers = {erp::Credentials{"ADMIN", "secret", "SAMLTD"}};
  auto connection = connect("");
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  auto rw = std::dynamic_pointer_cast<StandinDatabaseLink>(connection->CompanyDBLinkRW());
  rw->ErpLink()->writeOptionValues("IC0380", {25}, {std::int64_t{1}});
  auto values = connection->CompanyDBLinkRO()->ReadOptionValues("IC0380", {25});
  ASSERT_EQ(1u, values.size());
  EXPECT_TRUE(VariantBoolean(values[0]));

  auto ro = std::dynamic_pointer_cast<StandinDatabaseLink>(connection->CompanyDBLinkRO());
  erp::DataSource customers(ro->ErpLink()->database(), ro->ErpLink()->errors(),
                            ro->ErpLink()->readOnly(), "AR0024");
  customers.put(1, std::string("1000"), false);
  EXPECT_THROW(customers.insert(), erp::ErpError);
  EXPECT_EQ(1, connection->Session()->Errors().Count());
  connection->ShowErrors();
  EXPECT_NE(std::string::npos, shownErrors.str().find("read-only"));
  EXPECT_EQ(0, connection->Session()->Errors().Count());
}

TEST_F(StandinSessionTest, LinkTransactionsNestAndARefusalIsAHostError) {
  prompt.answers = {erp::Credentials{"ADMIN", "secret", "SAMLTD"}};
  auto connection = connect("");
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  auto link = connection->CompanyDBLinkRW();
  EXPECT_EQ(1, link->TransactionBegin());
  EXPECT_EQ(2, link->TransactionBegin());
  link->TransactionRollback();
  link->TransactionCommit();
  EXPECT_EQ(0, link->TransactionLevel());
  EXPECT_THROW(link->TransactionRollback(), HostError);
  EXPECT_THROW(connection->CompanyDBLinkRO()->TransactionBegin(), HostError);
}

}  // namespace
}  // namespace host::standin
