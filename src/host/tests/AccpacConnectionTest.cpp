#include "host/AccpacConnection.h"

#include "host/HostError.h"

#include "host/tests/FakeHost.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace host {
namespace {

using namespace host::testing;

class AccpacConnectionTest : public ::testing::Test {
 protected:
  std::unique_ptr<AccpacConnection> connect(std::optional<std::string> commandLine) {
    return std::make_unique<AccpacConnection>(fakeServices(calls, session, commandLine));
  }

  static std::int32_t int32At(const DesktopLinkRecord& record, size_t offset) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
      value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(value);
  }

  Calls calls;
  std::shared_ptr<FakeSession> session = std::make_shared<FakeSession>(calls);
};

TEST_F(AccpacConnectionTest, StartedOnItsOwnSignsOnAndOffByItself) {
  auto connection = connect(std::string());
  ASSERT_TRUE(connection->Logon("ZX1000", 99));
  EXPECT_EQ((std::vector<std::string>{"SetAppID ZX", "SetAppVersion 56A", "SetProgramName ZX1000",
                                      "SetServerName ", "SetNewSignon true", "CreateSession "}),
            calls.log);
  EXPECT_EQ(7, connection->SignonID());
  EXPECT_TRUE(calls.records.empty()) << "no desktop link without a desktop";

  connection->CompanyDBLinkRW();
  connection->CompanyDBLinkRO();
  calls.log.clear();
  connection->Logoff();
  EXPECT_EQ((std::vector<std::string>{"CloseSession 7"}), calls.log);
  EXPECT_EQ(2, calls.linksClosed);
  EXPECT_EQ(nullptr, connection->Session());
}

TEST_F(AccpacConnectionTest, StartedFromTheDesktopJoinsItsSessionAndLinksTheWindow) {
  auto connection = connect(std::string("12345 /other words"));
  ASSERT_TRUE(connection->Logon("ZX1000", 0x1A2B));
  EXPECT_EQ("CreateSession 12345", calls.log.back());
  ASSERT_EQ(1u, calls.records.size());
  const DesktopLinkRecord& link = calls.records[0];
  EXPECT_EQ(56, int32At(link, 0));
  EXPECT_EQ(3, int32At(link, 12));
  EXPECT_EQ(0x1A2B, int32At(link, 24));
  EXPECT_EQ(12345, int32At(link, 52));
  for (size_t offset : {4u, 8u, 16u, 20u, 28u, 32u, 36u, 40u, 44u, 48u}) {
    EXPECT_EQ(0, int32At(link, offset)) << "unnamed bytes are zero at " << offset;
  }

  connection->CompanyDBLinkRW();
  calls.log.clear();
  connection->Logoff();
  EXPECT_TRUE(calls.log.empty()) << "the desktop's session stays open";
  EXPECT_EQ(0, calls.linksClosed) << "the desktop's company links stay open";
  ASSERT_EQ(2u, calls.records.size());
  EXPECT_EQ(2, int32At(calls.records[1], 12));
  EXPECT_EQ(0, int32At(calls.records[1], 24));
  EXPECT_EQ(12345, int32At(calls.records[1], 52));
}

TEST_F(AccpacConnectionTest, LogonTwiceTouchesTheSessionManagerOnce) {
  auto connection = connect(std::string());
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  size_t callsAfterFirst = calls.log.size();
  EXPECT_TRUE(connection->Logon("ZX1000", 0));
  EXPECT_EQ(callsAfterFirst, calls.log.size());
}

TEST_F(AccpacConnectionTest, AHandleThatIsNotANumberIsAGeneralFailure) {
  auto connection = connect(std::string("desk"));
  try {
    connection->Logon("ZX1000", 0);
    FAIL() << "expected a failure";
  } catch (const HostError& error) {
    EXPECT_EQ(HostError::kGeneralFailure, error.Number());
  }
}

TEST_F(AccpacConnectionTest, ObjectHandleIsTheTrimmedFirstWordReadOnce) {
  int reads = 0;
  HostServices services = fakeServices(calls, session, std::nullopt);
  services.commandLine = [&reads]() -> std::optional<std::string> {
    return ++reads == 1 ? std::string("  777 x") : std::string("888");
  };
  AccpacConnection connection(std::move(services));
  EXPECT_EQ("777", connection.ObjectHandle());
  EXPECT_EQ("777", connection.ObjectHandle());
  EXPECT_EQ(1, reads);
  EXPECT_EQ("", connect(std::nullopt)->ObjectHandle()) << "an unreadable command line";
}

TEST_F(AccpacConnectionTest, LinksAreOpenedOnceAndSystemLinkFailuresGiveNoLink) {
  auto connection = connect(std::string());
  EXPECT_THROW(connection->CompanyDBLinkRW(), HostError) << "not signed on yet";
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  auto first = connection->CompanyDBLinkRW();
  EXPECT_EQ(first, connection->CompanyDBLinkRW());
  EXPECT_NE(first, connection->CompanyDBLinkRO());
  EXPECT_EQ(2, calls.linksOpened);
  session->failSystemLinks = true;
  EXPECT_EQ(nullptr, connection->SystemDBLinkRW());
  EXPECT_EQ(nullptr, connection->SystemDBLinkRO());
}

TEST_F(AccpacConnectionTest, ErrorListIsFilledWithPrioritiesShownAndLeftEmpty) {
  auto connection = connect(std::string());
  ASSERT_TRUE(connection->Logon("ZX1000", 0));
  connection->PutError("first");
  connection->PutMessage("second");
  ASSERT_EQ(2, session->Count());
  EXPECT_EQ(3, session->Priority(0));
  EXPECT_EQ(1, session->Priority(1));
  connection->ShowErrors();
  EXPECT_EQ("Show 2", calls.log.back());
  EXPECT_EQ(0, session->Count());
  connection->PutError("third");
  connection->ClearErrors();
  EXPECT_EQ(0, session->Count());
}

TEST_F(AccpacConnectionTest, CancelledSignonIsNoSessionAndNoError) {
  AccpacConnection connection(fakeServices(calls, nullptr, std::string()));
  EXPECT_FALSE(connection.Logon("ZX1000", 0));
  EXPECT_EQ(nullptr, connection.Session());
  calls.log.clear();
  connection.Logoff();
  EXPECT_TRUE(calls.log.empty()) << "nothing to close";
}

}  // namespace
}  // namespace host
