#include "gui/help/UserGuide.h"

#include "util/tests/testsupport/Recording.h"

#include <gtest/gtest.h>

#include <QUrl>

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
    std::ofstream(file) << "%PDF-1.4\n";
  }

  const fs::path root = fs::temp_directory_path() / ("ordavel-guide-" + std::to_string(::getpid()));
  const fs::path program = root / "bin";
  const std::string built = (root / "build" / "Ordavel User Guide.pdf").string();
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

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

size_t Count(const std::string& text, const std::string& word) {
  size_t count = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
  return count;
}

TEST(BuiltUserGuideTest, CoversEveryTabAndTheBatchRunner) {
  const std::string html = ReadAll(ORDAVEL_BUILT_USER_GUIDE_HTML);
  ASSERT_FALSE(html.empty()) << ORDAVEL_BUILT_USER_GUIDE_HTML;
  for (const char* topic :
       {"<title>Ordavel User Guide</title>", "Accounts Payable", "Accounts Receivable",
        "Inventory Control", "Order Entry", "Purchase Orders", "Bank", "ordavel-batch",
        "--password-fd", "Exit status", "Installing Ordavel"}) {
    EXPECT_NE(std::string::npos, html.find(topic)) << topic;
  }
}

// F1 hands the browser the built page at the section of the tab; the page has that section.
TEST(BuiltUserGuideTest, F1OpensThePageAtASectionItHasForEveryTab) {
  const std::string html = ReadAll(ORDAVEL_BUILT_USER_GUIDE_HTML);
  const std::string page =
      QUrl::fromLocalFile(QString::fromStdString(ORDAVEL_BUILT_USER_GUIDE_HTML))
          .toEncoded()
          .toStdString();
  for (const char* tab : {"Accounts Payable", "Accounts Receivable", "Inventory Control",
                          "Order Entry", "Purchase Orders", "Bank"}) {
    RecordingShell shell;
    RecordingNotifier notifier;
    OpenUserGuideAt(shell, notifier, "/nonexistent", tab, ORDAVEL_BUILT_USER_GUIDE_HTML);
    const std::string anchor = GuideAnchor(tab);
    EXPECT_EQ(std::vector<std::string>{page + "#" + anchor}, shell.opened) << tab;
    EXPECT_NE(std::string::npos, html.find("<h3 id=\"" + anchor + "\">" + tab + "</h3>")) << tab;
  }
}

// The web page and the PDF show the same screenshots: the page's are copied beside it, and the
// PDF embeds each one on A4 pages.
TEST(BuiltUserGuideTest, ShowsItsScreenshotsOnTheWebPageAndInThePdf) {
  const std::string html = ReadAll(ORDAVEL_BUILT_USER_GUIDE_HTML);
  const fs::path folder = fs::path(ORDAVEL_BUILT_USER_GUIDE_HTML).parent_path();
  const std::string source = "src=\"screenshots/";
  size_t images = 0;
  for (size_t at = html.find(source); at != std::string::npos; at = html.find(source, at + 1)) {
    const size_t start = at + std::string("src=\"").size();
    const std::string name = html.substr(start, html.find('"', start) - start);
    EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
    ++images;
  }
  EXPECT_GE(images, 5u);

  const std::string pdf = ReadAll(kBuiltUserGuide);
  ASSERT_EQ(0u, pdf.rfind("%PDF-", 0)) << kBuiltUserGuide;
  EXPECT_GE(Count(pdf, "/Subtype /Image"), images) << "a transparent image brings its mask too";
  EXPECT_GE(Count(pdf, "/MediaBox [0 0 595"), 10u) << "A4 pages, as many as the guide needs";
}

}  // namespace
}  // namespace gui
