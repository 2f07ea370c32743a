#include "host/AccpacPaths.h"

#include "host/testsupport/InstalledSite.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace host {
namespace {

using namespace host::testing;

std::vector<std::string> folders(const AccpacPaths& paths) {
  return {paths.ProgramsPath(), paths.RuntimePath(), paths.SharedDataPath(),
          paths.SitePath(),     paths.CompanyPath(), paths.UserPath()};
}

TEST(AccpacPathsTest, WithoutTheKeyOrItsValuesNothingIsInstalledAndNoMessageIsShown) {
  for (bool withKey : {false, true}) {
    InstalledSite site;
    if (withKey) site.registry().createKey(erp::kLocalMachine, kAccpacConfigurationKey);
    const AccpacPaths paths = site.paths();
    EXPECT_FALSE(paths.Installed()) << withKey;
    EXPECT_EQ("", paths.ProgramsPath() + paths.SharedDataPath()) << withKey;
    if (!withKey) {
      EXPECT_EQ(std::vector<std::string>(6), folders(paths));
    }
    EXPECT_TRUE(site.notifier.messages.empty()) << withKey;
  }
}

TEST(AccpacPathsTest, KeyWithoutTheLibraryFillsTheFoldersButIsNotInstalled) {
  InstalledSite site;
  site.setText("Programs", "/accpac/programs");
  site.setText("SharedData", "/accpac/data/");
  const AccpacPaths paths = site.paths();
  EXPECT_FALSE(paths.Installed());
  EXPECT_EQ(
      (std::vector<std::string>{"/accpac/programs", "/accpac/programs/runtime", "/accpac/data/",
                                "/accpac/data/SITE", "/accpac/data/COMPANY", "/accpac/data/USER"}),
      folders(paths));
  EXPECT_TRUE(site.notifier.messages.empty());
}

TEST(AccpacPathsTest, LibraryFoundInAnyCaseMakesItInstalled) {
  InstalledSite site;
  site.setText("Programs", site.programs().string());
  site.setText("SharedData", site.sharedData().string());
  std::filesystem::create_directories(site.runtime());
  std::ofstream(site.runtime() / "A4WAPI.DLL").put('x');
  EXPECT_TRUE(site.paths().Installed());
}

TEST(AccpacPathsTest, FailureWhileReadingIsShownAndLeavesItNotInstalled) {
  InstalledSite site;
  const std::string unusable = "/" + std::string(5000, 'p');
  site.setText("Programs", unusable);
  site.setText("SharedData", site.sharedData().string());
  const AccpacPaths paths = site.paths();
  EXPECT_FALSE(paths.Installed());
  EXPECT_EQ(unusable, paths.ProgramsPath());
  ASSERT_EQ(1u, site.notifier.messages.size());
  const std::string prefix =
      "A critical error occured in determining Accpac path information. Error=";
  EXPECT_EQ(prefix, site.notifier.messages[0].substr(0, prefix.size()));
  EXPECT_LT(prefix.size(), site.notifier.messages[0].size());
}

TEST(AccpacPathsTest, CWDToRuntimeEntersTheRuntimeFolderAndIgnoresAMissingOne) {
  InstalledSite site;
  site.install();
  site.paths().CWDToRuntime();
  EXPECT_EQ(std::filesystem::canonical(site.runtime()), std::filesystem::current_path());

  site.setText("Programs", (site.programs() / "gone").string());
  site.paths().CWDToRuntime();
  EXPECT_EQ(std::filesystem::canonical(site.runtime()), std::filesystem::current_path());
}

}  // namespace
}  // namespace host
