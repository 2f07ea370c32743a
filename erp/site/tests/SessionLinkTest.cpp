#include "erp/site/ErpSession.h"

#include "erp/database/ErpError.h"
#include "erp/testsupport/SiteTempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace erp {
namespace {

/// A session built directly on a fresh site, without signing on: no password hash is needed.
class SessionLinkTest : public ::testing::Test {
 protected:
  SessionLinkTest()
      : catalog_(optionTestViews()), site_(std::make_shared<SiteDatabase>(temp_.layout())) {
    site_->addCompany("SAMLTD", "Sample", catalog_);
    session_ = std::make_shared<Session>(site_, 1, "ADMIN", "SAMLTD",
                                         temp_.layout().companyDatabase("SAMLTD"), catalog_);
  }

  void execute(const std::string& sql) {
    session_->openLink(kCompanyLink, kLinkReadWrite)->database()->sql().exec(sql);
  }

  TempSite temp_;
  ViewCatalog catalog_;
  std::shared_ptr<SiteDatabase> site_;
  std::shared_ptr<Session> session_;
};

TEST_F(SessionLinkTest, OnlyKnownLinkTypesAndFlagsOpen) {
  auto opens = [this](int type, int flags) {
    try {
      return session_->openLink(type, flags) != nullptr;
    } catch (const std::invalid_argument&) {
      return false;
    }
  };
  EXPECT_TRUE(opens(kCompanyLink, kLinkReadWrite));
  EXPECT_TRUE(opens(kCompanyLink, kLinkReadOnly));
  EXPECT_TRUE(opens(kSystemLink, kLinkReadWrite));
  EXPECT_TRUE(opens(kSystemLink, kLinkReadOnly));
  EXPECT_FALSE(opens(2, kLinkReadWrite));
  EXPECT_FALSE(opens(-1, kLinkReadWrite));
  EXPECT_FALSE(opens(kCompanyLink, 2));
}

TEST_F(SessionLinkTest, OptionValuesComeFromTheSingleOptionsRecordOnceItExists) {
  const auto link = session_->openLink(kCompanyLink, kLinkReadOnly);
  EXPECT_EQ((std::vector<Value>{Value{}}), link->readOptionValues("AR0001", {6}));
  EXPECT_EQ((std::vector<Value>{Value{}, Value{}}), link->readOptionValues("IC0380", {25, 1}));

  execute(R"(INSERT INTO "AR0001" ("F1", "RATE", "F6") VALUES ('AR', 2.5, 1))");
  execute(R"(INSERT INTO "IC0380" ("F24", "F25") VALUES ('IC', 0))");
  EXPECT_EQ((std::vector<Value>{std::int64_t{1}}), link->readOptionValues("AR0001", {6}));
  EXPECT_EQ((std::vector<Value>{std::int64_t{0}}), link->readOptionValues("IC0380", {25}));
  EXPECT_EQ((std::vector<Value>{2.5, std::string("AR"), std::int64_t{1}}),
            link->readOptionValues("AR0001", {2, 1, 6}));
  EXPECT_EQ((std::vector<Value>{std::string("IC")}), link->readOptionValues("IC0380", {24}));
  // The system link reaches the company's own views.
  const auto system = session_->openLink(kSystemLink, kLinkReadOnly);
  EXPECT_EQ((std::vector<Value>{std::int64_t{1}}), system->readOptionValues("AR0001", {6}));
}

TEST_F(SessionLinkTest, ReadingAnUnknownViewOrFieldOrAnOrdinaryViewThrows) {
  const auto link = session_->openLink(kCompanyLink, kLinkReadWrite);
  EXPECT_THROW(link->readOptionValues("XX9999", {1}), std::out_of_range);
  EXPECT_THROW(link->readOptionValues("AR0001", {9}), std::out_of_range);
  EXPECT_THROW(link->readOptionValues("AR0001", {0}), std::out_of_range);
  EXPECT_THROW(link->readOptionValues("TX0002", {1}), std::invalid_argument);
}

TEST_F(SessionLinkTest, WritingOptionsCreatesTheRecordOnceAndUpdatesIt) {
  const auto link = session_->openLink(kCompanyLink, kLinkReadWrite);
  link->writeOptionValues("AR0001", {6, 1}, {std::int64_t{1}, std::string("AR  ")});
  link->writeOptionValues("AR0001", {6}, {std::int64_t{0}});

  EXPECT_EQ((std::vector<Value>{std::int64_t{0}, std::string("AR")}),
            link->readOptionValues("AR0001", {6, 1}));
  SQLite::Statement count(link->database()->sql(), R"(SELECT COUNT(*) FROM "AR0001")");
  ASSERT_TRUE(count.executeStep());
  EXPECT_EQ(1, count.getColumn(0).getInt());
}

TEST_F(SessionLinkTest, AReadOnlyLinkRefusesAWriteAndListsWhy) {
  const auto link = session_->openLink(kCompanyLink, kLinkReadOnly);
  EXPECT_THROW(link->writeOptionValues("AR0001", {6}, {std::int64_t{1}}), ErpError);

  ASSERT_EQ(1u, session_->errors().count());
  EXPECT_EQ(kError, session_->errors().at(0).priority);
  EXPECT_EQ("Cannot change the options of AR0001: the database link is read-only.",
            session_->errors().at(0).text);
  EXPECT_EQ((std::vector<Value>{Value{}}), link->readOptionValues("AR0001", {6}));
  EXPECT_THROW(link->requireWritable("insert"), ErpError);
  EXPECT_NO_THROW(session_->openLink(kCompanyLink, kLinkReadWrite)->requireWritable("insert"));
}

TEST_F(SessionLinkTest, ActiveApplicationsCarryTheirSecondIdentifier) {
  site_->setApplication("SAMLTD", {"AR", "AR", "66A"});
  site_->setApplication("SAMLTD", {"IC", "I1", "66A"});
  const auto link = session_->openLink(kCompanyLink, kLinkReadWrite);

  const std::vector<ActiveApplication> expected{{"AR", "AR", "66A"}, {"IC", "I1", "66A"}};
  EXPECT_EQ(expected, link->activeApplications());

  site_->removeApplication("SAMLTD", "AR", "AR");
  EXPECT_EQ(1u, link->activeApplications().size());
}

TEST_F(SessionLinkTest, AClosedLinkCanNoLongerBeUsed) {
  const auto link = session_->openLink(kCompanyLink, kLinkReadWrite);
  link->close();
  link->close();
  EXPECT_FALSE(link->isOpen());
  EXPECT_THROW(link->database(), ErpError);
  EXPECT_THROW(link->readOptionValues("AR0001", {6}), ErpError);
  EXPECT_THROW(link->activeApplications(), ErpError);
  EXPECT_TRUE(session_->openLink(kCompanyLink, kLinkReadWrite)->isOpen());
}

TEST_F(SessionLinkTest, LinksReportIntoTheSessionsErrorList) {
  const auto link = session_->openLink(kSystemLink, kLinkReadOnly);
  link->errors().add(kWarning, "From the link.");
  ASSERT_EQ(1u, session_->errors().count());
  EXPECT_EQ("From the link.", session_->errors().at(0).text);
}

}  // namespace
}  // namespace erp
