#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace platform {
namespace {

class AtomicFileTest : public ::testing::Test {
 protected:
  AtomicFileTest()
      : folder_(std::filesystem::temp_directory_path() /
                ("ordavel-atomic-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~AtomicFileTest() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

TEST_F(AtomicFileTest, ReplacesTheContentAndKeepsThePermissions) {
  const auto file = folder_ / "store";
  ASSERT_TRUE(WriteFileAtomically(file, "first"));
  ::chmod(file.c_str(), 0600);
  ASSERT_TRUE(WriteFileAtomically(file, "second"));
  std::string content;
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_EQ("second", content);
  struct stat status {};
  ASSERT_EQ(0, ::stat(file.c_str(), &status));
  EXPECT_EQ(0600u, status.st_mode & 07777);
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder_), {}));
}

TEST_F(AtomicFileTest, AnOwnerOnlyFileIsTightenedOnEveryWrite) {
  const auto file = folder_ / "store";
  ASSERT_TRUE(WriteFileAtomically(file, "first"));
  ASSERT_TRUE(WriteFileAtomically(file, "second", FileAccess::kOwnerOnly));
  struct stat status {};
  ASSERT_EQ(0, ::stat(file.c_str(), &status));
  EXPECT_EQ(0600u, status.st_mode & 07777);
}

TEST_F(AtomicFileTest, FailsWithoutAFolderToWriteIn) {
  EXPECT_FALSE(WriteFileAtomically(folder_ / "missing" / "store", "text"));
  std::string content;
  EXPECT_FALSE(ReadWholeFile(folder_ / "missing" / "store", content));
}

}  // namespace
}  // namespace platform
