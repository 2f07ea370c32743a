#include "standin/site/RegistryStore.h"

#include "platform/tests/testsupport/TempFolder.h"
#include "platform/tests/testsupport/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace erp {
namespace {

namespace fs = std::filesystem;
using platform::testing::ReadFile;
using platform::testing::ScopedEnv;

constexpr const char* kConfig = "SOFTWARE\\ACCPAC International, Inc.\\ACCPAC\\Configuration";

RegistryValue text(const std::string& value) {
  RegistryValue out{kRegString, {value.begin(), value.end()}};
  out.data.push_back(0);
  return out;
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  RegistryValue query(RegistryStore& store, const std::string& path, const std::string& name) {
    RegistryValue out{0, {}};
    EXPECT_EQ(RegistryStatus::kOk, store.QueryValue(kLocalMachine, path, name, out));
    return out;
  }

  platform::testing::TempFolder folder_;
  RegistryStore store_{folder_ / "registry"};
};

TEST_F(RegistryStoreTest, KeysAndValueNamesMatchWithoutRegardToCase) {
  ASSERT_EQ(RegistryStatus::kOk, store_.createKey(kLocalMachine, kConfig));
  ASSERT_EQ(RegistryStatus::kOk, store_.setValue(kLocalMachine, kConfig, "Programs", text("C:")));

  EXPECT_EQ(RegistryStatus::kOk,
            store_.OpenKey(kLocalMachine, "software\\accpac international, inc.\\ACCPAC"));
  EXPECT_EQ(text("C:"), query(store_, "SOFTWARE\\ACCPAC INTERNATIONAL, INC.\\accpac\\configuration",
                              "PROGRAMS"));
}

TEST_F(RegistryStoreTest, MissingKeysValuesAndHivesAreReportedApart) {
  RegistryValue out;
  EXPECT_EQ(RegistryStatus::kNotFound, store_.OpenKey(kLocalMachine, kConfig));
  EXPECT_EQ(RegistryStatus::kNotFound, store_.setValue(kLocalMachine, kConfig, "X", text("x")));
  ASSERT_EQ(RegistryStatus::kOk, store_.createKey(kLocalMachine, kConfig));
  EXPECT_EQ(RegistryStatus::kNotFound, store_.QueryValue(kLocalMachine, kConfig, "X", out));
  EXPECT_EQ(RegistryStatus::kNotFound, store_.QueryValue(kCurrentUser, kConfig, "X", out));
  EXPECT_EQ(RegistryStatus::kInvalidHive, store_.createKey(0x80000009, kConfig));
  EXPECT_EQ(RegistryStatus::kInvalidHive, store_.OpenKey(0, ""));
}

TEST_F(RegistryStoreTest, EveryKindOfValueSurvivesAReload) {
  const std::string awkward("50%\ta\nb\r\x7f\x01 \xc3\xa9\\", 14);
  const struct {
    const char* name;
    RegistryValue value;
  } cases[] = {
      {"PlainText", text("C:\\Program Files\\Sage")},
      {"TextWithControlCharacters", text(awkward)},
      {"MultiString", RegistryValue{kRegMultiString, {'a', 0, 'b', 0, 0}}},
      {"Expandable", RegistryValue{kRegExpandString, {'%', 'X', '%', 0}}},
      {"Binary", RegistryValue{kRegBinary, {0, 0xff, '%', '\n', 9}}},
      {"EmptyBinary", RegistryValue{kRegBinary, {}}},
      {"Dword", RegistryValue{kRegDword, {0x2a, 0, 0, 0}}},
      {"UnknownType", RegistryValue{11, {1, 2, 3, 4, 5, 6, 7, 8}}},
      {"", text("default value")},
      {"name with\ttab=and%percent", text("x")},
  };
  ASSERT_EQ(RegistryStatus::kOk, store_.createKey(kLocalMachine, kConfig));
  for (const auto& c : cases) {
    ASSERT_EQ(RegistryStatus::kOk, store_.setValue(kLocalMachine, kConfig, c.name, c.value));
  }
  RegistryStore reloaded(store_.file());
  for (const auto& c : cases) EXPECT_EQ(c.value, query(reloaded, kConfig, c.name)) << c.name;
}

TEST_F(RegistryStoreTest, FileIsVersionedReadableText) {
  ASSERT_EQ(RegistryStatus::kOk, store_.createKey(kLocalMachine, kConfig));
  ASSERT_EQ(RegistryStatus::kOk,
            store_.setValue(kLocalMachine, kConfig, "SharedData", text("D:\\Data")));
  EXPECT_EQ(platform::testing::TestData("standin/site/tests/data/registry"),
            ReadFile(store_.file()));
}

TEST_F(RegistryStoreTest, ALeftoverTemporaryFileNeverReachesTheStore) {
  ASSERT_EQ(RegistryStatus::kOk, store_.createKey(kLocalMachine, "K"));
  ASSERT_EQ(RegistryStatus::kOk, store_.setValue(kLocalMachine, "K", "v", text("kept")));
  std::ofstream(store_.file().string() + ".tmp-99999-0") << "ordavel-registry 1\nkey\tHALF";

  RegistryStore reloaded(store_.file());
  EXPECT_EQ(text("kept"), query(reloaded, "K", "v"));
  ASSERT_EQ(RegistryStatus::kOk, reloaded.setValue(kLocalMachine, "K", "w", text("new")));
  EXPECT_EQ(text("kept"), query(reloaded, "K", "v"));
  EXPECT_EQ(text("new"), query(reloaded, "K", "w"));
}

TEST_F(RegistryStoreTest, AStoreOfAnotherFormatIsNeitherReadNorOverwritten) {
  const std::string foreign = "ordavel-registry 2\nsomething newer\n";
  std::ofstream(store_.file()) << foreign;

  EXPECT_EQ(RegistryStatus::kUnreadable, store_.OpenKey(kLocalMachine, ""));
  EXPECT_EQ(RegistryStatus::kUnreadable, store_.createKey(kLocalMachine, "K"));
  EXPECT_EQ(foreign, ReadFile(store_.file()));
}

TEST_F(RegistryStoreTest, AStoreThatCannotBeWrittenFailsTheWrite) {
  std::ofstream(folder_ / "plain-file") << "x";
  RegistryStore blocked(folder_ / "plain-file" / "registry");

  EXPECT_EQ(RegistryStatus::kWriteFailed, blocked.createKey(kLocalMachine, "K"));
  EXPECT_EQ(RegistryStatus::kNotFound, blocked.OpenKey(kLocalMachine, "K"));
}

// The program moves to the ERP's runtime folder before it calls into the ERP; a store named by
// a relative path must still be the same file afterwards. Only its owner may read it.
TEST_F(RegistryStoreTest, ARelativeStoreSurvivesAChangeOfWorkingFolderAndIsPrivate) {
  const fs::path before = fs::current_path();
  fs::current_path(folder_.path());
  RegistryStore relative("registry");
  ASSERT_EQ(RegistryStatus::kOk, relative.createKey(kLocalMachine, "SOFTWARE\\Test"));
  fs::current_path(fs::temp_directory_path());
  EXPECT_EQ(RegistryStatus::kOk, relative.OpenKey(kLocalMachine, "SOFTWARE\\Test"));
  fs::current_path(before);
  EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write,
            fs::status(folder_ / "registry").permissions());
}

TEST(RegistryStoreLocation, DefaultLocationFollowsTheEnvironment) {
  auto check = [](const char* name, const char* registryFile, const char* xdgHome,
                  const char* userHome, const fs::path& expected) {
    auto given = [](const char* value) {
      return value ? std::optional<std::string>(value) : std::nullopt;
    };
    ScopedEnv registry("ORDAVEL_REGISTRY", given(registryFile));
    ScopedEnv xdg("XDG_CONFIG_HOME", given(xdgHome));
    ScopedEnv home("HOME", given(userHome));
    EXPECT_EQ(expected, RegistryStore::defaultLocation()) << name;
    EXPECT_EQ(expected, RegistryStore().file()) << name;
  };
  check("ExplicitFileWins", "/tmp/r/file", "/tmp/x", "/tmp/h", "/tmp/r/file");
  check("XdgConfigHome", nullptr, "/tmp/x", "/tmp/h", "/tmp/x/ordavel-erp/registry");
  check("EmptyExplicitFileIsIgnored", "", "/tmp/x", "/tmp/h", "/tmp/x/ordavel-erp/registry");
  check("HomeConfigFolder", nullptr, nullptr, "/tmp/h", "/tmp/h/.config/ordavel-erp/registry");
}

}  // namespace
}  // namespace erp
