#include "gui/help/UserGuide.h"

#include "util/tests/testsupport/Recording.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace gui {
namespace {

namespace fs = std::filesystem;

using util::testing::RecordingNotifier;
using util::testing::RecordingShell;

/// A program folder and a built guide in the temp folder, each present only when asked for.
class UserGuideTest : public ::testing::Test {
 protected:
  UserGuideTest() { fs::create_directories(program); }
  ~UserGuideTest() override { fs::remove_all(root); }

  static void Write(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<html></html>";
  }

  const fs::path root = fs::temp_directory_path() / ("ordavel-guide-" + std::to_string(::getpid()));
  const fs::path program = root / "bin";
  const std::string built = (root / "build" / "Ordavel User Guide.html").string();
  RecordingShell shell;
  RecordingNotifier notifier;
};

TEST_F(UserGuideTest, OpensTheGuideBesideTheProgramElseTheBuiltOne) {
  const std::string installed = (program / kUserGuideFile).string();
  const struct {
    const char* name;
    bool installed;
    bool built;
    std::string opened;
  } cases[] = {
      {"InstalledAndBuilt", true, true, installed},
      {"InstalledOnly", true, false, installed},
      {"BuiltOnly", false, true, built},
  };
  for (const auto& c : cases) {
    fs::remove_all(root);
    if (c.installed) Write(installed);
    if (c.built) Write(built);
    shell.opened.clear();
    OpenUserGuide(shell, notifier, program.string(), built);
    EXPECT_EQ(std::vector<std::string>{"\"" + c.opened + "\""}, shell.opened) << c.name;
  }
  EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(UserGuideTest, TellsWhenTheGuideIsMissingOrNoViewerStarts) {
  const std::string installed = (program / kUserGuideFile).string();
  OpenUserGuide(shell, notifier, program.string(), built);
  Write(built);
  shell.result = 2;
  OpenUserGuide(shell, notifier, program.string(), built);
  EXPECT_EQ((std::vector<std::string>{installed + " does not exist.",
                                      "No program could be started to view " + built + "."}),
            notifier.messages);
}

TEST(BuiltUserGuideTest, CoversEveryTabAndTheBatchRunner) {
  std::ifstream file(kBuiltUserGuide);
  ASSERT_TRUE(file) << kBuiltUserGuide;
  std::stringstream html;
  html << file.rdbuf();
  for (const char* topic :
       {"<title>Ordavel User Guide</title>", "Accounts Payable", "Accounts Receivable",
        "Inventory Control", "Order Entry", "Purchase Orders", "Bank", "ordavel-batch",
        "--password-fd", "Exit status"}) {
    EXPECT_NE(std::string::npos, html.str().find(topic)) << topic;
  }
}

}  // namespace
}  // namespace gui
