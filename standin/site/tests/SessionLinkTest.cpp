#include "standin/site/ErpSession.h"

#include "standin/database/ErpError.h"
#include "standin/testsupport/SiteTempFolder.h"

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

TEST_F(SessionLinkTest, ReadingAnUnknownViewOrFieldOrAnOrdinaryViewThrows) {
  const auto link = session_->openLink(kCompanyLink, kLinkReadWrite);
  EXPECT_THROW(link->readOptionValues("XX9999", {1}), std::out_of_range);
  EXPECT_THROW(link->readOptionValues("AR0001", {9}), std::out_of_range);
  EXPECT_THROW(link->readOptionValues("AR0001", {0}), std::out_of_range);
  EXPECT_THROW(link->readOptionValues("TX0002", {1}), std::invalid_argument);
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

// The session's links share one connection, so a transaction begun on one is the others' too;
// what the database refuses is listed like any other refusal of the link.
TEST_F(SessionLinkTest, ATransactionIsTheSessionsAndRefusalsAreListed) {
  const auto writer = session_->openLink(kCompanyLink, kLinkReadWrite);
  const auto reader = session_->openLink(kCompanyLink, kLinkReadOnly);
  EXPECT_THROW(reader->beginTransaction(), ErpError);
  EXPECT_EQ(1, writer->beginTransaction());
  EXPECT_EQ(1, reader->transactionLevel());
  writer->commitTransaction();
  EXPECT_THROW(writer->commitTransaction(), ErpError);
  ASSERT_EQ(2u, session_->errors().count());
  EXPECT_EQ("Cannot start a transaction: the database link is read-only.",
            session_->errors().at(0).text);
  EXPECT_EQ("There is no transaction to commit.", session_->errors().at(1).text);
}

}  // namespace
}  // namespace erp
