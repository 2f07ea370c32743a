#include "platform/FileDescriptor.h"

#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace platform {
namespace {

// Only a plain file is kept: a link planted where it belongs, a pipe (which would hang a
// reader) and a folder are refused.
TEST(FileDescriptorTest, OnlyAPlainFileIsOpenedAsOne) {
  testing::TempFolder folder;
  std::ofstream(folder / "plain") << "text";
  std::filesystem::create_symlink(folder / "plain", folder / "link");
  ASSERT_EQ(0, ::mkfifo((folder / "pipe").c_str(), 0600));
  std::filesystem::create_directory(folder / "folder");
  for (const auto& [name, opened] : {std::pair{"plain", true}, std::pair{"link", false},
                                     std::pair{"pipe", false}, std::pair{"folder", false}}) {
    EXPECT_EQ(opened, FileDescriptor::OpenPlainFile(folder / name, O_RDONLY).Valid()) << name;
  }
}

TEST(FileDescriptorTest, PositionedWritesAndReadsLeaveTheRestAlone) {
  testing::TempFolder folder;
  FileDescriptor file = FileDescriptor::Open(folder / "file", O_RDWR | O_CREAT, 0600);
  ASSERT_TRUE(file.Valid());
  ASSERT_TRUE(WriteAll(file.Get(), "0123456789"));
  ASSERT_TRUE(WriteAllAt(file.Get(), "ab", 4));
  EXPECT_EQ("23ab67", ReadExactlyAt(file.Get(), 6, 2).value_or("none"));
  EXPECT_EQ(std::nullopt, ReadExactlyAt(file.Get(), 4, 8)) << "two bytes short";
  EXPECT_EQ("89", ReadUpToAt(file.Get(), 4, 8).value_or("none")) << "what the file has";
  EXPECT_EQ(10, PlainFileSize(file.Get()).value_or(-1));
  FileDescriptor moved = std::move(file);
  EXPECT_FALSE(file.Valid());
  EXPECT_TRUE(moved.Close());
  EXPECT_FALSE(moved.Valid());
}

}  // namespace
}  // namespace platform
