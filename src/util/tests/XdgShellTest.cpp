#include "util/XdgShell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/tests/testsupport/TempFolder.h"

namespace util {
namespace {

namespace fs = std::filesystem;

// Puts a fake xdg-open first on PATH that writes its arguments, one per line, to a file.
class XdgShellTest : public ::testing::Test {
 protected:
  XdgShellTest()
      : path_("PATH", (folder_ / "bin").string() + ":" + std::string(std::getenv("PATH"))) {
    fs::create_directories(folder_ / "bin");
    const fs::path script = folder_ / "bin" / "xdg-open";
    platform::testing::WriteFile(script,
                                 "#!/bin/sh\n"
                                 "printf '%s\\n' \"$#\" \"$@\" > '" +
                                     (folder_ / "args.tmp").string() + "'\n" + "mv '" +
                                     (folder_ / "args.tmp").string() + "' '" + record().string() +
                                     "'\n");
    ::chmod(script.c_str(), 0755);
  }

  fs::path record() const { return folder_ / "args"; }

  std::string recordedArguments() const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(record()) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return platform::testing::ReadFile(record());
  }

  platform::testing::TempFolder folder_;
  platform::testing::ScopedEnv path_;
  XdgShell shell_;
};

// The name reaches xdg-open as one argument, quotes and all, and no shell ever reads it.
TEST_F(XdgShellTest, NoShellReadsTheName) {
  const std::string trap = (folder_ / "pwned").string();
  const std::string evil = (folder_ / "a").string() + "\"; touch " + trap + "; echo \"$(touch " +
                           trap + "2) `touch " + trap + "3` b";
  EXPECT_EQ(42, shell_.Open("\"" + evil + "\""));
  EXPECT_EQ("1\n" + evil + "\n", recordedArguments());
  EXPECT_FALSE(fs::exists(trap));
  EXPECT_FALSE(fs::exists(trap + "2"));
  EXPECT_FALSE(fs::exists(trap + "3"));
}

TEST_F(XdgShellTest, ExploreOpensTheUnquotedFolder) {
  shell_.Explore("\"/data/Ordavel logs\"");
  EXPECT_EQ("1\n/data/Ordavel logs\n", recordedArguments());
}

TEST_F(XdgShellTest, AProgramThatCannotStartGivesTwo) {
  platform::testing::ScopedEnv emptyPath("PATH", (folder_ / "empty").string());
  EXPECT_EQ(2, shell_.Open("https://www.quenlix.com/"));
  EXPECT_FALSE(shell_.Explore("/data"));
}

// xdg-open says through its exit status that the desktop has no program for the target.
TEST_F(XdgShellTest, TheLaunchersExitStatusIsItsVerdict) {
  for (const int status : {0, 3, 4}) {
    platform::testing::WriteFile(folder_ / "bin" / "xdg-open",
                                 "#!/bin/sh\nexit " + std::to_string(status) + "\n");
    ::chmod((folder_ / "bin" / "xdg-open").c_str(), 0755);
    EXPECT_EQ(status == 0, shell_.Explore("/data")) << status;
    EXPECT_EQ(status == 0 ? 42 : 2, shell_.Open("/data/guide.pdf")) << status;
  }
}

TEST(XdgShellQuotes, OnlyOneSurroundingPairIsTakenOff) {
  auto check = [&](const char* name, const char* target, const char* expected) {
    EXPECT_EQ(expected, XdgShell::Unquoted(target)) << name;
  };
  check("Quoted", "\"/a b\"", "/a b");
  check("Unquoted", "/a b", "/a b");
  check("DoubleQuoted", "\"\"/a\"\"", "\"/a\"");
  check("OpeningOnly", "\"/a", "\"/a");
  check("LoneQuote", "\"", "\"");
  check("EmptyQuotes", "\"\"", "");
}

}  // namespace
}  // namespace util
