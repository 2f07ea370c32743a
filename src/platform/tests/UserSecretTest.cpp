#include "platform/UserSecret.h"

#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace platform {
namespace {

TEST(UserSecretTest, IsMadeOnceOwnerOnlyAndReadAgain) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder / "deep/Ordavel/key";
  EXPECT_EQ("", UserSecret(file, 32, false)) << "nothing is made without create";
  EXPECT_FALSE(std::filesystem::exists(file));
  const std::string made = UserSecret(file, 32, true);
  ASSERT_EQ(32u, made.size());
  struct stat status {};
  ASSERT_EQ(0, ::stat(file.c_str(), &status));
  EXPECT_EQ(0600u, status.st_mode & 07777);
  ASSERT_EQ(0, ::stat(file.parent_path().c_str(), &status));
  EXPECT_EQ(0700u, status.st_mode & 07777);
  EXPECT_EQ(made, UserSecret(file, 32, true)) << "the same key, not a new one";
  EXPECT_NE(made, UserSecret(folder / "other", 32, true)) << "random, not fixed";
}

// A key others could read or plant is refused, named, and left as it is.
TEST(UserSecretTest, AKeyFileOthersCouldTouchIsRefusedAndKept) {
  using Plant = std::function<void(const std::filesystem::path&)>;
  const auto plain = [](const std::filesystem::path& file, int bytes, mode_t mode) {
    std::ofstream(file) << std::string(static_cast<size_t>(bytes), 'k');
    std::filesystem::permissions(file, static_cast<std::filesystem::perms>(mode));
  };
  const std::pair<const char*, Plant> cases[] = {
      {"readable by the group", [&](auto& file) { plain(file, 32, 0640); }},
      {"writable by others", [&](auto& file) { plain(file, 32, 0602); }},
      {"short", [&](auto& file) { plain(file, 16, 0600); }},
      {"a folder", [](auto& file) { std::filesystem::create_directory(file); }},
      {"a link to a good key",
       [&](auto& file) {
         plain(file.string() + ".real", 32, 0600);
         std::filesystem::create_symlink(file.string() + ".real", file);
       }},
  };
  for (const auto& [name, plant] : cases) {
    testing::TempFolder folder;
    const std::filesystem::path file = folder / "key";
    plant(file);
    const auto before = std::filesystem::symlink_status(file).type();
    try {
      UserSecret(file, 32, true);
      ADD_FAILURE() << name << ": used";
    } catch (const UserSecretError& error) {
      EXPECT_NE(std::string::npos, std::string(error.what()).find(file.string())) << name;
    }
    EXPECT_EQ(before, std::filesystem::symlink_status(file).type()) << name;
  }
}

}  // namespace
}  // namespace platform
