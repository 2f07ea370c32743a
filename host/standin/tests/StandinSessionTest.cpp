#include "host/standin/StandinSession.h"

#include "host/AccpacConnection.h"
#include "host/HostError.h"

#include "erp/database/ErpDataSource.h"
#include "erp/database/ErpError.h"
#include "erp/site/SiteDatabase.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <deque>
#include <sstream>

namespace host::standin {
namespace {

/// Answers the sign-on prompt from a script and keeps the messages it was shown.
class ScriptedPrompt : public erp::SignonPrompt {
 public:
  std::optional<erp::Credentials> ask(const std::string& message) override {
    shown.push_back(message);
    if (answers.empty()) return std::nullopt;
    erp::Credentials next = answers.front();
    answers.pop_front();
    return next;
  }
  std::deque<erp::Credentials> answers;
  std::vector<std::string> shown;
};

/// A site with company SAMLTD (TX, AR, IC active; AP active under another second ID) and user
/// ADMIN, in a temporary folder.
class StandinSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("ordavel-standin-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(folder);
    erp::SiteLayout layout(folder);
    erp::SiteDatabase::create(layout);
    erp::SiteDatabase site(layout);
    site.addCompany("SAMLTD", "Sample Company Limited");
    site.addUser("ADMIN", "Administrator", "secret", erp::HashCost::kMinimal);
    site.grantCompany("ADMIN", "SAMLTD");
    for (const char* app : {"TX", "AR", "IC"}) site.setApplication("SAMLTD", {app, app, "66A"});
    site.setApplication("SAMLTD", {"AP", "A2", "66A"});
    desktopHandle = site.createDesktopSession("ADMIN", "SAMLTD");
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::unique_ptr<AccpacConnection> connect(std::string commandLine) {
    return std::make_unique<AccpacConnection>(
        StandinHostServices(folder, prompt, display, std::move(commandLine)));
  }

  std::filesystem::path folder;
  ScriptedPrompt prompt;
  std::ostringstream shownErrors;
  erp::ConsoleErrorDisplay display{shownErrors};
  std::int32_t desktopHandle = 0;
};

TEST_F(StandinSessionTest, SignsOnThroughThePromptAndReadsTheCompany) {
  prompt.answers = {{"ADMIN", "wrong", "SAMLTD"}, {"ADMIN", "secret", "SAMLTD"}};
  auto connection = connect("");
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  ASSERT_EQ(2u, prompt.shown.size());
  EXPECT_EQ("", prompt.shown[0]);
  EXPECT_NE("", prompt.shown[1]) << "the refusal is shown on the next ask";
  EXPECT_EQ("SAMLTD", connection->Session()->CompanyID());
  EXPECT_EQ("ADMIN", connection->Session()->UserID());
  EXPECT_EQ(folder.string(), connection->Session()->SharedDataFolder());
}

TEST_F(StandinSessionTest, CancellingTheSignonGivesNoSession) {
  auto connection = connect("");
  EXPECT_FALSE(connection->Logon("ZX1000", 0));
  EXPECT_EQ(nullptr, connection->Session());
}

TEST_F(StandinSessionTest, JoiningADesktopSessionAndLinkingTheWindow) {
  auto connection = connect(std::to_string(desktopHandle) + " more");
  ASSERT_TRUE(connection->Logon("ZX1000", 4242));
  EXPECT_TRUE(prompt.shown.empty()) << "no prompt when joining the desktop";
  erp::SiteDatabase site{erp::SiteLayout(folder)};
  EXPECT_EQ(std::vector<std::uint32_t>{4242}, site.linkedWindows(desktopHandle));
  connection->Logoff();
  EXPECT_TRUE(site.linkedWindows(desktopHandle).empty());
  EXPECT_NE(nullptr, connection->Session()) << "the desktop's session is not signed off";
}

TEST_F(StandinSessionTest, AStaleDesktopHandleGivesNoSession) {
  auto connection = connect("999999");
  EXPECT_FALSE(connection->Logon("ZX1000", 1));
}

TEST_F(StandinSessionTest, ActiveApplicationsCarryTheirSecondIdentifier) {
  prompt.answers = {{"ADMIN", "secret", "SAMLTD"}};
  auto connection = connect("");
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  auto link = connection->CompanyDBLinkRW();
  std::map<std::string, std::string> apps;
  for (int i = 0; i < link->ActiveApplicationCount(); ++i) {
    apps[link->ApplicationID(i)] = link->ApplicationSecondID(i);
  }
  EXPECT_EQ(
      (std::map<std::string, std::string>{{"AP", "A2"}, {"AR", "AR"}, {"IC", "IC"}, {"TX", "TX"}}),
      apps);
}

TEST_F(StandinSessionTest, OptionValuesAndAReadOnlyLinkRefusingWrites) {
  prompt.answers = {{"ADMIN", "secret", "SAMLTD"}};
  auto connection = connect("");
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  auto rw = std::dynamic_pointer_cast<StandinDatabaseLink>(connection->CompanyDBLinkRW());
  rw->link()->writeOptionValues("IC0380", {25}, {std::int64_t{1}});
  auto values = connection->CompanyDBLinkRO()->ReadOptionValues("IC0380", {25});
  ASSERT_EQ(1u, values.size());
  EXPECT_TRUE(VariantBoolean(values[0]));

  auto ro = std::dynamic_pointer_cast<StandinDatabaseLink>(connection->CompanyDBLinkRO());
  erp::DataSource customers(ro->link()->database(), ro->link()->errors(), ro->link()->readOnly(),
                            "AR0024");
  customers.put(1, std::string("1000"), false);
  EXPECT_THROW(customers.insert(), erp::ErpError);
  EXPECT_EQ(1, connection->Session()->Errors().Count());
  connection->ShowErrors();
  EXPECT_NE(std::string::npos, shownErrors.str().find("read-only"));
  EXPECT_EQ(0, connection->Session()->Errors().Count());
}

TEST_F(StandinSessionTest, LinkTransactionsNestAndARefusalIsAHostError) {
  prompt.answers = {{"ADMIN", "secret", "SAMLTD"}};
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
