#include "host/KindClaim.h"
#include "host/LogFile.h"
#include "host/PendingLogFile.h"
#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace host {
namespace {

// Logs name customers, vendors and their tax status, as the company's database does, which only
// its owner may read; a permissive umask must not open them to everyone.
TEST(OwnerOnlyFilesTest, LogsStagesAndClaimsAreTheOwnersAloneWhateverTheUmask) {
  platform::testing::TempFolder folder("ordavel-modes");
  const mode_t umaskBefore = ::umask(022);
  const auto now = std::chrono::system_clock::now();
  ASSERT_TRUE(AppendLogLine(folder.path().string(), "20260101_AR_Customers.log", now, 0, "line"));
  PendingLogFile pending(folder.path(), "AR_Customers");
  ASSERT_TRUE(pending.Stage({"20260101_AR_Customers.log", 0, "line\r\n", 1, {}, {}, 0, {}}));
  KindClaim claim(folder.path().string(), "AR_Customers", "ADMIN", now);
  ASSERT_TRUE(claim.Held());
  ::umask(umaskBefore);
  for (const std::filesystem::path& file :
       {folder.path() / "20260101_AR_Customers.log", pending.Path(), claim.File()}) {
    struct stat info {};
    ASSERT_EQ(0, ::stat(file.c_str(), &info)) << file;
    EXPECT_EQ(0600u, info.st_mode & 07777) << file;
  }
}

}  // namespace
}  // namespace host
