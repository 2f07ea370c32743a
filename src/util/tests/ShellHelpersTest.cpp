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
  auto check = [&](const char* name, const char* text, const char* expected) {
    EXPECT_EQ(expected, EscapeQuotes(text)) << name;
  };
  check("Empty", "", " ");
  check("Plain", "GST", "GST ");
  check("Quote", "6\" pipe", "6\\\" pipe ");
  check("OnlyQuotes", "\"\"", "\\\"\\\" ");
  check("TrailingBackslash", "C:\\", "C:\\ ");
  EXPECT_EQ("\"/my logs\"", Quote("/my logs"));
}

TEST(ShellTexts, JoinPathAddsASeparatorOnlyWhenNeeded) {
  auto check = [&](const char* name, const char* folder, const char* item, const char* expected) {
    EXPECT_EQ(expected, JoinPath(folder, item)) << name;
  };
  check("Plain", "/A", "b", "/A/b");
  check("FolderEndsWithSeparator", "/A/", "b", "/A/b");
  check("EmptyFolder", "", "b", "b");
  check("NameStartsWithSeparator", "/A", "/b", "/A/b");
  check("NoSeparatorIsRemoved", "/A/", "/b", "/A//b");
  check("EmptyName", "/A", "", "/A/");
  check("BothEmpty", "", "", "");
}

TEST(OpenUrl, PutsHttpInFrontOfAnAddressWithoutItAndReportsABrowserThatDoesNotStart) {
  const std::string failed = "Cannot start browser to view http://quenlix.com.";
  auto check = [&](const char* name, const char* address, int result, const char* opened,
                   const Texts& messages) {
    RecordingShell shell;
    shell.result = result;
    RecordingNotifier notifier;
    OpenURL(shell, notifier, address);
    EXPECT_EQ(Texts{opened}, shell.opened) << name;
    EXPECT_EQ(messages, notifier.messages) << name;
    EXPECT_EQ(messages.empty() ? Texts{} : Texts{opened}, notifier.targets)
        << name << ": the address is offered for copying";
  };
  check("NoScheme", "www.quenlix.com", 42, "http://www.quenlix.com", {});
  check("Https", "https://www.quenlix.com/", 42, "https://www.quenlix.com/", {});
  check("CapitalHttp", "HTTP://X", 42, "HTTP://X", {});
  check("MixedCaseHttp", "hTtP://x", 42, "hTtP://x", {});
  check("HttpWithoutColon", "httpx", 42, "httpx", {});
  check("ShortText", "ht", 42, "http://ht", {});
  check("OtherScheme", "ftp://x", 42, "http://ftp://x", {});
  check("ThirtyTwoIsFailure", "quenlix.com", 32, "http://quenlix.com", {failed});
  check("ZeroIsFailure", "quenlix.com", 0, "http://quenlix.com", {failed});
  check("ThirtyThreeIsSuccess", "quenlix.com", 33, "http://quenlix.com", {});
}

TEST(OpenDocument, OpensTheGuideQuotedFoundInAnyCaseOrSaysWhyNot) {
  platform::testing::TempFolder folder;
  const std::string guide = folder.path().string() + "/Documentation/Ordavel User Guide.pdf";
  const std::string reader = "You must install Adobe Acrobat Reader in order to view " + guide +
                             ". You can download and install Adobe Acrobat Reader from "
                             "https://get.adobe.com/reader/.";
  auto check = [&](const char* name, bool installed, const char* asked, int result,
                   const Texts& opened, const Texts& messages) {
    if (installed) {
      std::filesystem::create_directories(folder / "Documentation");
      platform::testing::WriteFile(guide, "%PDF");
    }
    RecordingShell shell;
    shell.result = result;
    RecordingNotifier notifier;
    OpenDocument(shell, notifier, folder.path().string(), asked);
    EXPECT_EQ(opened, shell.opened) << name;
    EXPECT_EQ(messages, notifier.messages) << name;
  };
  check("Missing", false, "Documentation/Ordavel User Guide.pdf", 42, {},
        {guide + " does not exist."});
  check("Installed", true, "Documentation/Ordavel User Guide.pdf", 42, {"\"" + guide + "\""}, {});
  check("OtherCase", true, "DOCUMENTATION/ordavel user guide.PDF", 42, {"\"" + guide + "\""}, {});
  check("NoViewer", true, "Documentation/Ordavel User Guide.pdf", 31, {"\"" + guide + "\""},
        {reader});
}

TEST(ReportingShell, TellsOfAFolderNoFileBrowserShowed) {
  for (const bool shown : {true, false}) {
    RecordingShell shell;
    shell.exploreResult = shown;
    RecordingNotifier notifier;
    ReportingShell reporting(shell, notifier);
    EXPECT_EQ(shown, ExploreFolder(reporting, "/logs/Ordavel"));
    EXPECT_EQ(Texts{"\"/logs/Ordavel\""}, shell.explored);
    EXPECT_EQ(shown ? Texts{} : Texts{kCannotShowFolder}, notifier.messages);
    EXPECT_EQ(shown ? Texts{} : Texts{"/logs/Ordavel"}, notifier.targets) << "unquoted, to copy";
  }
}

}  // namespace
}  // namespace util
