#include "util/ShellHelpers.h"

#include "platform/tests/testsupport/TempFolder.h"
#include "util/tests/testsupport/Recording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace util {
namespace {

using Texts = std::vector<std::string>;
using testing::RecordingNotifier;
using testing::RecordingShell;

TEST(ShellTexts, EscapeQuotesAndQuote) {
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

TEST(OpenUrl, PutsHttpInFrontOfAnAddressWithoutItAndReportsABrowserThatDoesNotStart) {
  const std::string failed = "Cannot start browser to view http://quenlix.com.";
  const struct {
    const char* name;
    const char* address;
    int result;
    const char* opened;
    Texts messages;
  } cases[] = {
      {"NoScheme", "www.quenlix.com", 42, "http://www.quenlix.com", {}},
      {"Https", "https://www.quenlix.com/", 42, "https://www.quenlix.com/", {}},
      {"CapitalHttp", "HTTP://X", 42, "HTTP://X", {}},
      {"MixedCaseHttp", "hTtP://x", 42, "hTtP://x", {}},
      {"HttpWithoutColon", "httpx", 42, "httpx", {}},
      {"ShortText", "ht", 42, "http://ht", {}},
      {"OtherScheme", "ftp://x", 42, "http://ftp://x", {}},
      {"ThirtyTwoIsFailure", "quenlix.com", 32, "http://quenlix.com", {failed}},
      {"ZeroIsFailure", "quenlix.com", 0, "http://quenlix.com", {failed}},
      {"ThirtyThreeIsSuccess", "quenlix.com", 33, "http://quenlix.com", {}},
  };
  for (const auto& c : cases) {
    RecordingShell shell;
    shell.result = c.result;
    RecordingNotifier notifier;
    OpenURL(shell, notifier, c.address);
    EXPECT_EQ(Texts{c.opened}, shell.opened) << c.name;
    EXPECT_EQ(c.messages, notifier.messages) << c.name;
  }
}

TEST(OpenDocument, OpensTheGuideQuotedFoundInAnyCaseOrSaysWhyNot) {
  platform::testing::TempFolder folder;
  const std::string guide = folder.path().string() + "/Documentation/Ordavel User Guide.pdf";
  const std::string reader = "You must install Adobe Acrobat Reader in order to view " + guide +
                             ". You can download and install Adobe Acrobat Reader from "
                             "https://get.adobe.com/reader/.";
  const struct {
    const char* name;
    bool installed;
    const char* asked;
    int result;
    Texts opened;
    Texts messages;
  } cases[] = {
      {"Missing",
       false,
       "Documentation/Ordavel User Guide.pdf",
       42,
       {},
       {guide + " does not exist."}},
      {"Installed", true, "Documentation/Ordavel User Guide.pdf", 42, {"\"" + guide + "\""}, {}},
      {"OtherCase", true, "DOCUMENTATION/ordavel user guide.PDF", 42, {"\"" + guide + "\""}, {}},
      {"NoViewer",
       true,
       "Documentation/Ordavel User Guide.pdf",
       31,
       {"\"" + guide + "\""},
       {reader}},
  };
  for (const auto& c : cases) {
    if (c.installed) {
      std::filesystem::create_directories(folder / "Documentation");
      platform::testing::WriteFile(guide, "%PDF");
    }
    RecordingShell shell;
    shell.result = c.result;
    RecordingNotifier notifier;
    OpenDocument(shell, notifier, folder.path().string(), c.asked);
    EXPECT_EQ(c.opened, shell.opened) << c.name;
    EXPECT_EQ(c.messages, notifier.messages) << c.name;
  }
}

TEST(ExploreFolder, AFolderWithBlanksIsQuoted) {
  RecordingShell shell;
  ExploreFolder(shell, "/data/Company/SAMLTD/Ordavel logs");
  EXPECT_EQ(Texts{"\"/data/Company/SAMLTD/Ordavel logs\""}, shell.explored);
  EXPECT_EQ(Texts{}, shell.opened);
}

}  // namespace
}  // namespace util
