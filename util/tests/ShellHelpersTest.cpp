#include "util/ShellHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/tests/TempFolder.h"

namespace util {
namespace {

class RecordingShell : public Shell {
 public:
  int open(const std::string& target) override {
    opened.push_back(target);
    return result;
  }
  void explore(const std::string& folder) override { explored.push_back(folder); }

  int result = 42;
  std::vector<std::string> opened;
  std::vector<std::string> explored;
};

class RecordingNotifier : public Notifier {
 public:
  void critical(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

TEST(ShellTexts, EscapeQuotes) {
  const struct {
    const char* name;
    const char* text;
    const char* expected;
  } cases[] = {
      {"Empty", "", " "},
      {"Plain", "GST", "GST "},
      {"Quote", "6\" pipe", "6\\\" pipe "},
      {"OnlyQuotes", "\"\"", "\\\"\\\" "},
      {"TrailingBackslash", "C:\\", "C:\\ "},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, EscapeQuotes(c.text)) << c.name;
}

TEST(ShellTexts, Quote) {
  EXPECT_EQ("\"\"", Quote(""));
  EXPECT_EQ("\"/my logs\"", Quote("/my logs"));
}

TEST(ShellTexts, JoinPathAddsASeparatorOnlyWhenNeeded) {
  const struct {
    const char* name;
    const char* folder;
    const char* item;
    const char* expected;
  } cases[] = {
      {"Plain", "/A", "b", "/A/b"},
      {"FolderEndsWithSeparator", "/A/", "b", "/A/b"},
      {"EmptyFolder", "", "b", "b"},
      {"NameStartsWithSeparator", "/A", "/b", "/A/b"},
      {"NoSeparatorIsRemoved", "/A/", "/b", "/A//b"},
      {"EmptyName", "/A", "", "/A/"},
      {"BothEmpty", "", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, JoinPath(c.folder, c.item)) << c.name;
}

TEST(OpenUrl, PutsHttpInFrontOfAnAddressWithoutIt) {
  const struct {
    const char* name;
    const char* address;
    const char* opened;
  } cases[] = {
      {"NoScheme", "www.quenlix.com", "http://www.quenlix.com"},
      {"Https", "https://www.quenlix.com/", "https://www.quenlix.com/"},
      {"CapitalHttp", "HTTP://X", "HTTP://X"},
      {"MixedCaseHttp", "hTtP://x", "hTtP://x"},
      {"HttpWithoutColon", "httpx", "httpx"},
      {"ShortText", "ht", "http://ht"},
      {"OtherScheme", "ftp://x", "http://ftp://x"},
  };
  for (const auto& c : cases) {
    RecordingShell shell;
    RecordingNotifier notifier;
    OpenURL(shell, notifier, c.address);
    EXPECT_EQ(std::vector<std::string>{c.opened}, shell.opened) << c.name;
    EXPECT_EQ(std::vector<std::string>{}, notifier.messages) << c.name;
  }
}

TEST(OpenUrl, TellsTheOperatorWhenNoBrowserStarts) {
  const std::vector<std::string> failed{"Cannot start browser to view http://quenlix.com."};
  const struct {
    const char* name;
    int result;
    std::vector<std::string> messages;
  } cases[] = {
      {"ThirtyTwoIsFailure", 32, failed},
      {"ZeroIsFailure", 0, failed},
      {"ThirtyThreeIsSuccess", 33, {}},
  };
  for (const auto& c : cases) {
    RecordingShell shell;
    shell.result = c.result;
    RecordingNotifier notifier;
    OpenURL(shell, notifier, "quenlix.com");
    EXPECT_EQ(c.messages, notifier.messages) << c.name;
  }
}

class OpenDocumentTest : public ::testing::Test {
 protected:
  std::string guide() const { return JoinPath(folder_.path().string(), kGuide); }
  void install() {
    std::filesystem::create_directories(folder_ / "Documentation");
    testing::WriteFile(guide(), "%PDF");
  }

  static constexpr const char* kGuide = "Documentation/Ordavel User Guide.pdf";
  testing::TempFolder folder_;
  RecordingShell shell_;
  RecordingNotifier notifier_;
};

TEST_F(OpenDocumentTest, AMissingGuideIsReportedWithoutAShellCall) {
  OpenDocument(shell_, notifier_, folder_.path().string(), kGuide);
  EXPECT_EQ(std::vector<std::string>{guide() + " does not exist."}, notifier_.messages);
  EXPECT_EQ(std::vector<std::string>{}, shell_.opened);
}

TEST_F(OpenDocumentTest, TheGuideIsOpenedQuoted) {
  install();
  OpenDocument(shell_, notifier_, folder_.path().string(), kGuide);
  EXPECT_EQ(std::vector<std::string>{"\"" + guide() + "\""}, shell_.opened);
  EXPECT_EQ(std::vector<std::string>{}, notifier_.messages);
}

TEST_F(OpenDocumentTest, TheGuideIsFoundWithoutRegardToCase) {
  install();
  OpenDocument(shell_, notifier_, folder_.path().string(), "DOCUMENTATION/ordavel user guide.PDF");
  EXPECT_EQ(std::vector<std::string>{"\"" + guide() + "\""}, shell_.opened);
}

TEST_F(OpenDocumentTest, AFailedStartPointsToThePdfReader) {
  install();
  shell_.result = 31;
  OpenDocument(shell_, notifier_, folder_.path().string(), kGuide);
  EXPECT_EQ(
      std::vector<std::string>{"You must install Adobe Acrobat Reader in order to view " + guide() +
                               ". You can download and install Adobe Acrobat Reader from "
                               "https://get.adobe.com/reader/."},
      notifier_.messages);
}

TEST(ExploreFolder, AFolderWithBlanksIsQuoted) {
  RecordingShell shell;
  ExploreFolder(shell, "/data/Company/SAMLTD/Ordavel logs");
  EXPECT_EQ(std::vector<std::string>{"\"/data/Company/SAMLTD/Ordavel logs\""}, shell.explored);
  EXPECT_EQ(std::vector<std::string>{}, shell.opened);
}

}  // namespace
}  // namespace util
