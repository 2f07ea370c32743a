#include "platform/AtomicFile.h"

#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace platform {
namespace {

unsigned Permissions(const std::filesystem::path& file) {
  struct stat status {};
  EXPECT_EQ(0, ::stat(file.c_str(), &status));
  return status.st_mode & 07777;
}

TEST(AtomicFileTest, ReplacesTheContentAndKeepsThePermissions) {
  testing::TempFolder folder;
  const auto file = folder / "store";
  ASSERT_TRUE(WriteFileAtomically(file, "first"));
  ::chmod(file.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(file, "second"));
  std::string content;
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_EQ("second", content);
  EXPECT_EQ(0640u, Permissions(file));
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder.path()), {}));
  ASSERT_TRUE(WriteFileAtomically(file, "third", FileAccess::kOwnerOnly));
  EXPECT_EQ(0600u, Permissions(file)) << "an owner-only file is tightened on every write";
}

TEST(AtomicFileTest, FailsWithoutAFolderToWriteIn) {
  testing::TempFolder folder;
  EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "store", "text"));
  std::string content;
  EXPECT_FALSE(ReadWholeFile(folder / "missing" / "store", content));
}

}  // namespace
}  // namespace platform
