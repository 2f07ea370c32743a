#include "host/KindClaim.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>

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

}  // namespace
}  // namespace host
