#include "standin/site/ErpSessionManager.h"

#include "standin/database/ErpError.h"
#include "standin/site/tests/testsupport/ScriptedPrompt.h"
#include "standin/testsupport/SiteTempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace erp {
namespace {

using testing::ScriptedPrompt;

const Credentials kGood{"ADMIN", "secret", "SAMLTD"};

/// One site for the whole suite: users cost a password hash each, and no case changes them.
class SessionManagerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    temp_ = std::make_unique<TempSite>();
    catalog_ = std::make_unique<ViewCatalog>(optionTestViews());
    SiteDatabase site(temp_->layout());
    site.addCompany("SAMLTD", "Sample", *catalog_);
    site.addCompany("OTHER", "Other", *catalog_);
    site.addUser("ADMIN", "Administrator", "secret", erp::HashCost::kMinimal);
    site.grantCompany("ADMIN", "SAMLTD");
  }
  static void TearDownTestSuite() {
    temp_.reset();
    catalog_.reset();
  }

  CreateResult signOn(ScriptedPrompt& prompt, const std::string& handle = {}) {
    SessionManager manager(temp_->folder(), prompt, *catalog_);
    return manager.createSession(handle);
  }

  static std::unique_ptr<TempSite> temp_;
  static std::unique_ptr<ViewCatalog> catalog_;
};

std::unique_ptr<TempSite> SessionManagerTest::temp_;
std::unique_ptr<ViewCatalog> SessionManagerTest::catalog_;

TEST_F(SessionManagerTest, GoodCredentialsSignOnAtTheFirstAsk) {
  ScriptedPrompt prompt({Credentials{"admin", "secret", "samltd"}});
  const CreateResult result = signOn(prompt);

  ASSERT_NE(nullptr, result.session);
  EXPECT_EQ(std::vector<std::string>{""}, prompt.messages);
  EXPECT_NE(0, result.signonId);
  EXPECT_EQ(result.signonId, result.session->signonId());
  EXPECT_EQ("ADMIN", result.session->userId());
  EXPECT_EQ("SAMLTD", result.session->companyId());
  EXPECT_EQ(temp_->folder(), result.session->sharedDataFolder());
}

TEST_F(SessionManagerTest, RefusalIsShownAtTheNextAskUntilCredentialsSucceed) {
  auto check = [this](const char* name, const char* user, const char* password, const char* company,
                      const std::string& message) {
    ScriptedPrompt prompt({Credentials{user, password, company}, kGood});
    const CreateResult result = signOn(prompt);
    EXPECT_EQ((std::vector<std::string>{"", message}), prompt.messages) << name;
    ASSERT_NE(nullptr, result.session) << name;
    EXPECT_EQ("SAMLTD", result.session->companyId()) << name;
  };
  const std::string invalid = "Invalid user ID or password.";
  check("WrongPassword", "ADMIN", "Secret", "SAMLTD", invalid);
  check("UnknownUser", "NOBODY", "secret", "SAMLTD", invalid);
  check("MalformedUser", "TOO LONG USER", "secret", "SAMLTD", invalid);
  check("CompanyNotGranted", "ADMIN", "secret", "OTHER",
        "User ADMIN may not sign on to company OTHER.");
  check("UnknownCompany", "ADMIN", "secret", "nope", "User ADMIN may not sign on to company NOPE.");
  check("NoCompany", "ADMIN", "secret", "", "Enter the company to sign on to.");
}

TEST_F(SessionManagerTest, CancellingGivesNoSession) {
  ScriptedPrompt atOnce({std::nullopt});
  const CreateResult cancelled = signOn(atOnce);
  EXPECT_EQ(nullptr, cancelled.session);
  EXPECT_EQ(0, cancelled.signonId);

  ScriptedPrompt afterRefusal({Credentials{"ADMIN", "wrong", "SAMLTD"}, std::nullopt});
  EXPECT_EQ(nullptr, signOn(afterRefusal).session);
  EXPECT_EQ(2u, afterRefusal.messages.size());
}

TEST_F(SessionManagerTest, ADesktopHandleJoinsThatSessionWithoutAsking) {
  const std::int32_t handle = SiteDatabase(temp_->layout()).createDesktopSession("ADMIN", "SAMLTD");
  ScriptedPrompt prompt;

  for (const std::string& text : {std::to_string(handle), " " + std::to_string(handle) + " "}) {
    SCOPED_TRACE(text);
    const CreateResult result = signOn(prompt, text);
    ASSERT_NE(nullptr, result.session);
    EXPECT_EQ("ADMIN", result.session->userId());
    EXPECT_EQ("SAMLTD", result.session->companyId());
  }
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(SessionManagerTest, StaleOrMalformedHandlesGiveNoSessionAndSayWhy) {
  SiteDatabase site(temp_->layout());
  const std::int32_t ended = site.createDesktopSession("ADMIN", "SAMLTD");
  site.removeDesktopSession(ended);
  ScriptedPrompt prompt({kGood});
  const std::string endedHandle = std::to_string(ended);
  auto notNumber = [](const std::string& handle) {
    return handle + " is not a desktop session handle.";
  };

  for (const auto& [handle, refusal] : std::vector<std::pair<std::string, std::string>>{
           {endedHandle, "Desktop session " + endedHandle + " has ended."},
           {"999999", "There is no desktop session 999999."},
           {"abc", notNumber("abc")},
           {"12x", notNumber("12x")},
           {"-5", notNumber("-5")},
           {"0", notNumber("0")},
           {"99999999999", notNumber("99999999999")}}) {
    SCOPED_TRACE(handle);
    const CreateResult result = signOn(prompt, handle);
    EXPECT_EQ(nullptr, result.session);
    EXPECT_EQ(refusal, result.refusal);
  }
  EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(SessionManagerTest, ClosingASessionSignsItOffAndClosesItsLinks) {
  ScriptedPrompt prompt({kGood, kGood});
  SessionManager manager(temp_->folder(), prompt, *catalog_);
  const CreateResult first = manager.createSession("");
  const CreateResult second = manager.createSession("");
  ASSERT_NE(nullptr, first.session);
  ASSERT_NE(nullptr, second.session);
  EXPECT_NE(first.signonId, second.signonId);
  const std::shared_ptr<DatabaseLink> link = first.session->openLink(kCompanyLink, kLinkReadWrite);

  manager.closeSession(first.signonId);

  EXPECT_FALSE(first.session->signedOn());
  EXPECT_FALSE(link->isOpen());
  EXPECT_THROW(first.session->openLink(kCompanyLink, kLinkReadWrite), ErpError);
  EXPECT_EQ(nullptr, manager.session(first.signonId));
  EXPECT_THROW(manager.closeSession(first.signonId), std::invalid_argument);
  EXPECT_TRUE(second.session->signedOn());
  EXPECT_EQ(second.session, manager.session(second.signonId));
}

}  // namespace
}  // namespace erp
