#include "host/AccpacConnection.h"
#include "host/tests/FakeHost.h"
#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace host {
namespace {

using namespace host::testing;
using platform::testing::ReadFile;
using std::chrono::system_clock;

system_clock::time_point localTime(int year, int month, int day, int hour, int minute) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_isdst = -1;
  return system_clock::from_time_t(std::mktime(&tm));
}

/// Replaces each line's stamp (everything before the first blank after the time) by "<stamp>".
std::string masked(const std::string& log) {
  return std::regex_replace(log, std::regex(R"((^|\n)[^ \r\n]+ [0-9:]+(?: [AP]M)? )"),
                            "$1<stamp> ");
}

class ConversionLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(shared / "COMPANY" / "SAMLTD");
    session->sharedData = shared.string();
    HostServices services = fakeServices(calls, session, std::string());
    services.clock = [this] { return now; };
    connection = std::make_unique<AccpacConnection>(std::move(services));
    ASSERT_TRUE(connection->Logon("ZX1000", 0));
  }

  Calls calls;
  std::shared_ptr<FakeSession> session = std::make_shared<FakeSession>(calls);
  platform::testing::TempFolder temp{"ordavel-log-"};
  std::filesystem::path shared = temp.path();
  system_clock::time_point now = localTime(2024, 1, 31, 14, 5);
  std::unique_ptr<AccpacConnection> connection;
};

TEST_F(ConversionLogTest, FileNamesCarryTheDateBetweenPrefixAndSuffix) {
  EXPECT_EQ("20240131_AR_Customers.log", connection->getLogFileName("", "_AR_Customers"));
  now = localTime(2025, 3, 5, 0, 0);
  EXPECT_EQ("20250305_AR_Customers.log", connection->getLogFileName("", "_AR_Customers"));
  EXPECT_EQ("x20250305y.log", connection->getLogFileName("x", "y"));
}

TEST_F(ConversionLogTest, LinesAreStampedIndentedAndAppendedWithCrLf) {
  EXPECT_EQ(shared.string() + "/Company/SAMLTD/Ordavel", connection->getLogPath());
  EXPECT_FALSE(connection->LogExists("day.log"));
  connection->WriteLog(0, "day.log", "Ordavel for Customers started.");
  connection->WriteLog(1, "day.log", "indented");
  connection->WriteLog(0, "day.log", "two\nlines");
  now = localTime(2024, 2, 1, 0, 0);
  connection->WriteLog(0, "day.log", "at midnight");
  EXPECT_TRUE(connection->LogExists("day.log"));
  std::string log = ReadFile(shared / "COMPANY" / "SAMLTD" / "Ordavel" / "day.log");
  EXPECT_EQ(
      "<stamp> Ordavel for Customers started.\r\n<stamp>     indented\r\n<stamp> two\nlines\r\n"
      "<stamp> at midnight\r\n",
      masked(log));
  EXPECT_NE(std::string::npos, log.find(" 00:00:00 at midnight")) << "the time is always there";
  EXPECT_EQ(0, connection->LostLogLines());
}

// The folder's letter case is matched once and kept; a kept folder that disappears is matched
// again, and a log folder removed during a run is made again.
TEST_F(ConversionLogTest, AFolderThatDisappearsUnderTheLogIsFoundAgain) {
  connection->WriteLog(0, "day.log", "first");
  EXPECT_EQ((shared / "COMPANY" / "SAMLTD" / "Ordavel").string(), connection->LogFolderOnDisk());
  std::filesystem::rename(shared / "COMPANY", shared / "company");
  connection->WriteLog(0, "day.log", "renamed");
  std::filesystem::remove_all(shared / "company" / "SAMLTD" / "Ordavel");
  connection->WriteLog(0, "day.log", "removed");
  EXPECT_EQ("<stamp> removed\r\n",
            masked(ReadFile(shared / "company" / "SAMLTD" / "Ordavel" / "day.log")));
  EXPECT_EQ(0, connection->LostLogLines());
}

TEST_F(ConversionLogTest, AMissingCompanyFolderDropsTheLineAndCountsIt) {
  session->companyId = "NOPE";
  connection->WriteLog(0, "day.log", "lost");
  EXPECT_EQ(1, connection->LostLogLines());
  EXPECT_FALSE(std::filesystem::exists(shared / "COMPANY" / "NOPE"));
}

// A line that did not fit on a full disk is taken back, and one left cut short by an earlier
// crash is ended, so that the next line always starts on a line of its own.
TEST_F(ConversionLogTest, AFullDiskLeavesWholeLinesOnly) {
  const std::filesystem::path file = shared / "COMPANY" / "SAMLTD" / "Ordavel" / "day.log";
  connection->WriteLog(0, "day.log", "first");
  const std::string before = ReadFile(file);
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit room{before.size() + 10, before.size() + 10};
    ::setrlimit(RLIMIT_FSIZE, &room);
    connection->WriteLog(0, "day.log", std::string(100, 'x'));
    ::_exit(connection->LostLogLines() == 1 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(0, WEXITSTATUS(status)) << "the line is counted as lost";
  EXPECT_EQ(before, ReadFile(file)) << "nothing of it stays";

  std::ofstream(file, std::ios::app) << "cut sho";
  connection->WriteLog(0, "day.log", "next");
  EXPECT_EQ("<stamp> first\r\ncut sho\r\n<stamp> next\r\n", masked(ReadFile(file)));
}

TEST_F(ConversionLogTest, ALogIsNeverWrittenThroughALinkOrIntoAnythingButAFile) {
  const std::filesystem::path folder = shared / "COMPANY" / "SAMLTD" / "Ordavel";
  std::filesystem::create_directories(folder);
  std::ofstream(shared / "victim") << "precious";
  std::filesystem::create_symlink(shared / "victim", folder / "linked.log");
  ::mkfifo((folder / "pipe.log").c_str(), 0600);
  connection->WriteLog(0, "linked.log", "planted");
  connection->WriteLog(0, "pipe.log", "would hang");
  EXPECT_EQ(2, connection->LostLogLines());
  EXPECT_EQ("precious", ReadFile(shared / "victim"));
}

TEST_F(ConversionLogTest, TwoWritersAppendWholeLinesToOneFile) {
  HostServices services = fakeServices(calls, session, std::string());
  AccpacConnection second(std::move(services));
  ASSERT_TRUE(second.Logon("ZX1000", 0));
  const int kLines = 300;
  std::string longText(200, 'x');
  std::thread a([&] {
    for (int i = 0; i < kLines; ++i) connection->WriteLog(0, "shared.log", "A" + longText);
  });
  std::thread b([&] {
    for (int i = 0; i < kLines; ++i) second.WriteLog(1, "shared.log", "B" + longText);
  });
  a.join();
  b.join();
  std::istringstream lines(ReadFile(shared / "COMPANY" / "SAMLTD" / "Ordavel" / "shared.log"));
  int count = 0;
  std::regex whole(R"([^ ]+ [0-9:]+ (A|    B)x{200}\r)");
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_TRUE(std::regex_match(line, whole)) << line;
  }
  EXPECT_EQ(2 * kLines, count);
}

}  // namespace
}  // namespace host
