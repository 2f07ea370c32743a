#include "host/KindClaim.h"
#include "host/LogFile.h"
#include "host/PendingLogFile.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>

namespace host {
namespace {

class KindClaimTest : public ::testing::Test {
 protected:
  KindClaimTest()
      : folder(std::filesystem::temp_directory_path() /
               ("ordavel-claim-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder);
  }
  ~KindClaimTest() override { std::filesystem::remove_all(folder); }

  KindClaim Claim(const std::string& user) {
    return KindClaim((folder / "Ordavel").string(), "AR_Customers", user, now);
  }

  std::filesystem::path folder;
  std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

TEST_F(KindClaimTest, ASecondRunIsToldWhoHoldsTheKindUntilTheFirstLetsGo) {
  {
    KindClaim first = Claim("ADMIN");
    ASSERT_TRUE(first.Held());
    KindClaim second = Claim("CLERK");
    EXPECT_FALSE(second.Held());
    ASSERT_TRUE(second.OtherHolder().has_value());
    EXPECT_EQ("ADMIN", second.OtherHolder()->user);
    EXPECT_EQ(19u, second.OtherHolder()->started.size()) << second.OtherHolder()->started;
  }
  EXPECT_TRUE(Claim("CLERK").Held());
}

// The claim is a lock the system drops with the process, so a killed run blocks nobody.
TEST_F(KindClaimTest, AKilledRunLeavesTheKindFree) {
  int ready[2];
  ASSERT_EQ(0, ::pipe(ready));
  const pid_t child = ::fork();
  if (child == 0) {
    KindClaim held = Claim("ADMIN");
    static_cast<void>(::write(ready[1], held.Held() ? "1" : "0", 1));
    ::pause();
    ::_exit(0);
  }
  char answer = 0;
  ASSERT_EQ(1, ::read(ready[0], &answer, 1));
  EXPECT_EQ('1', answer);
  EXPECT_FALSE(Claim("CLERK").Held());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(Claim("CLERK").Held());
}

// Unclaimed, nothing would keep a second run from converting the same records at once: each way
// the claim cannot be made leaves it unheld with the reason.
TEST_F(KindClaimTest, WhatIsPlantedWhereTheClaimFileBelongsRefusesTheClaim) {
  const std::filesystem::path lock = folder / "Ordavel" / ".AR_Customers.lock";
  const std::filesystem::path target = folder / "target";
  struct Case {
    const char* name;
    std::function<void()> plant;
    const char* why;
  };
  const Case cases[] = {
      {"Folder", [&] { std::filesystem::create_directories(lock); }, "is a folder"},
      {"LinkToAFile", [&] { std::filesystem::create_symlink(target, lock); }, "is a symbolic link"},
      {"Pipe", [&] { ASSERT_EQ(0, ::mkfifo(lock.c_str(), 0600)); }, "is not a plain file"},
      {"HardLink", [&] { std::filesystem::create_hard_link(target, lock); },
       "has other names (hard links)"},
  };
  for (const Case& c : cases) {
    std::filesystem::create_directories(lock.parent_path());
    std::ofstream(target) << "precious";
    c.plant();
    {
      KindClaim claim = Claim("ADMIN");
      EXPECT_FALSE(claim.Held()) << c.name;
      EXPECT_FALSE(claim.OtherHolder().has_value()) << c.name;
      EXPECT_EQ("the claim file " + lock.string() + " " + c.why, claim.Problem()) << c.name;
    }
    EXPECT_EQ(8u, std::filesystem::file_size(target)) << c.name;
    std::filesystem::remove_all(lock.parent_path());
  }
}

TEST_F(KindClaimTest, ALogFolderThatCannotBeWrittenRefusesTheClaim) {
  const std::filesystem::path logs = folder / "Ordavel";
  std::filesystem::create_directories(logs);
  ::chmod(logs.c_str(), 0555);
  // The superuser writes any folder, so the claim is then tried as an ordinary user.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(2);
    KindClaim claim = Claim("ADMIN");
    ::_exit(!claim.Held() && claim.Problem().starts_with("the log folder " + logs.string() +
                                                         " cannot be written: ")
                ? 0
                : 1);
  }
  int status = 0;
  ASSERT_EQ(child, ::waitpid(child, &status, 0));
  EXPECT_EQ(0, WEXITSTATUS(status));
  EXPECT_FALSE(std::filesystem::exists(logs / ".AR_Customers.lock"));
  ::chmod(logs.c_str(), 0755);
}

// A lock guards only the file it was taken on: once that is gone from the folder another run can
// claim the kind, so the first must find out before it commits again.
TEST_F(KindClaimTest, AClaimFileDeletedOrReplacedDuringTheRunIsNoLongerHeld) {
  for (const bool replaced : {false, true}) {
    KindClaim first = Claim("ADMIN");
    ASSERT_TRUE(first.StillHeld());
    std::filesystem::remove(first.File());
    if (replaced) std::ofstream(first.File()) << "user=ADMIN\n";
    EXPECT_FALSE(first.StillHeld()) << replaced;
    EXPECT_TRUE(Claim("CLERK").Held()) << replaced;
  }
}

// Logs name customers, vendors and their tax status, as the company's database does, which only
// its owner may read; a permissive umask must not open them to everyone.
TEST_F(KindClaimTest, LogsStagesAndClaimsAreTheOwnersAloneWhateverTheUmask) {
  const mode_t umaskBefore = ::umask(022);
  const std::filesystem::path logs = folder / "Ordavel";
  KindClaim claim = Claim("ADMIN");
  ASSERT_TRUE(AppendLogLine(logs.string(), "20260101_AR_Customers.log", now, 0, "line"));
  PendingLogFile pending(logs, "AR_Customers");
  ASSERT_TRUE(pending.Stage({"20260101_AR_Customers.log", 0, "line\r\n", 1, {}, {}, 0, {}}));
  ASSERT_TRUE(claim.Held());
  ::umask(umaskBefore);
  for (const std::filesystem::path& file :
       {logs / "20260101_AR_Customers.log", pending.Path(), claim.File()}) {
    struct stat info {};
    ASSERT_EQ(0, ::stat(file.c_str(), &info)) << file;
    EXPECT_EQ(0600u, info.st_mode & 07777) << file;
  }
}

}  // namespace
}  // namespace host
