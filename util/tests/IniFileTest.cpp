#include "util/IniFile.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"
#include "platform/tests/testsupport/TestData.h"

namespace util {
namespace {

namespace fs = std::filesystem;
using platform::testing::ReadFile;
using platform::testing::TestData;
using platform::testing::WriteFile;

class IniFileTest : public ::testing::Test {
 protected:
  IniFile open(const std::string& content, const std::string& section = "",
               const std::string& key = "") {
    WriteFile(file(), content);
    IniFile ini;
    ini.Path(file().string());
    ini.Section(section);
    ini.key(key);
    return ini;
  }

  fs::path file() const { return folder_ / "A4W.INI"; }
  std::string content() const { return ReadFile(file()); }

  platform::testing::TempFolder folder_;
};

TEST_F(IniFileTest, ReadsFollowTheProfileStringRules) {
  const std::string file =
      "top=ignored\n"
      "; comment=no\n"
      "[First]\n"
      "key=one\n"
      "KEY=two\n"
      "quoted=\"  spaced  \"\n"
      "single='x'\n"
      "half=\"open\n"
      "empty=\n"
      "  Padded =  D:\\Data  \r\n"
      "  [ Second ]  \n"
      "k=second\n"
      "[first]\n"
      "other=late\n";
  const struct {
    const char* name;
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"FirstKeyWins", "First", "key", "one"},
      {"FirstSectionWins", "First", "other", "fallback"},
      {"KeysBeforeAnySectionAreIgnored", "", "top", "fallback"},
      {"CommentIsNoKey", "First", "; comment", "fallback"},
      {"MatchingQuotesAreTakenOff", "First", "quoted", "  spaced  "},
      {"SingleQuotesAreTakenOff", "First", "single", "x"},
      {"UnmatchedQuoteIsKept", "First", "half", "\"open"},
      {"EmptyValueIsNotTheDefault", "First", "empty", ""},
      {"KeyAnyCaseValueTrimmed", "FIRST", "padded", "D:\\Data"},
      {"SectionNameIsTrimmed", "second", "K", "second"},
      {"MissingSection", "Third", "key", "fallback"},
  };
  IniFile ini = open(file);
  ini.Default("fallback");
  for (const auto& c : cases) {
    ini.Section(c.section);
    ini.key(c.key);
    EXPECT_EQ(c.expected, ini.value()) << c.name;
  }
}

TEST_F(IniFileTest, AbsentKeyGivesTheDefaultAndAMissingFileToo) {
  IniFile ini = open("[S]\n", "S", "nothing");
  EXPECT_EQ("", ini.value());
  ini.Default("dflt");
  EXPECT_EQ("dflt", ini.value());
  ini.Path((folder_ / "missing.ini").string());
  EXPECT_EQ("dflt", ini.value());
}

TEST_F(IniFileTest, ReadsStopAt8191Characters) {
  IniFile ini = open("[S]\nlong=" + std::string(9000, 'x') + "\n", "S", "long");
  EXPECT_EQ(std::string(8191, 'x'), ini.value());
  ini.key("absent");
  ini.Default(std::string(8200, 'd'));
  EXPECT_EQ(std::string(8191, 'd'), ini.value());
}

TEST_F(IniFileTest, WritesRemoveNulsFromTheCallersText) {
  IniFile ini = open("", "S", "k");
  std::string text("a\0b\0", 4);
  ini.value(text);
  EXPECT_EQ("ab", text);
  EXPECT_EQ("ab", ini.value());
  EXPECT_TRUE(ini.SUCCESS());
}

TEST_F(IniFileTest, WritesKeepCommentsBlankLinesAndLineEnds) {
  IniFile ini = open(TestData("util/tests/data/settings-before.ini"), "paths", "PROGRAMS");
  auto write = [&ini](const std::string& section, const std::string& key, std::string text) {
    ini.Section(section);
    ini.key(key);
    ini.value(text);
  };
  write("paths", "PROGRAMS", "C:\\B");
  write("paths", "SharedData", " D:\\S ");
  write("Other", "y", "2");
  write("New", "z", "3");
  EXPECT_EQ(TestData("util/tests/data/settings-after.ini"), content());
}

TEST_F(IniFileTest, NewLinesFollowTheFilesOwnLineEnd) {
  const struct {
    const char* name;
    const char* before;
    const char* after;
  } cases[] = {
      {"UnixLineEnds", "[S]\na=1\n", "[S]\na=1\nb=2\n"},
      {"WindowsLineEnds", "[S]\r\na=1\r\n", "[S]\r\na=1\r\nb=2\r\n"},
      {"NewFileGetsWindowsLineEnds", "", "[S]\r\nb=2\r\n"},
  };
  for (const auto& c : cases) {
    IniFile ini = open(c.before, "S", "b");
    std::string text = "2";
    ini.value(text);
    EXPECT_EQ(c.after, content()) << c.name;
  }
}

TEST_F(IniFileTest, AWriteCreatesAMissingFileButNotAMissingFolder) {
  auto write = [&](const fs::path& path) {
    IniFile ini;
    ini.Path(path.string());
    ini.Section("S");
    ini.key("k");
    std::string text = "v";
    ini.value(text);
    return ini;
  };
  EXPECT_EQ(1, write(folder_ / "new.ini").LastReturnCode());
  EXPECT_EQ("[S]\r\nk=v\r\n", ReadFile(folder_ / "new.ini"));
  IniFile failed = write(folder_ / "no-such-folder" / "x.ini");
  EXPECT_EQ(0, failed.LastReturnCode());
  EXPECT_FALSE(failed.SUCCESS());
}

TEST_F(IniFileTest, DeletingKeysAndSections) {
  IniFile ini = open("[A]\na=1\nb=2\n; about B\n[B]\nc=3\n[C]\nd=4\n", "a", "A");
  ini.DeleteKey();
  EXPECT_TRUE(ini.SUCCESS());
  EXPECT_EQ("[A]\nb=2\n; about B\n[B]\nc=3\n[C]\nd=4\n", content());

  ini.Section("b");
  ini.DeleteSection();
  EXPECT_EQ("[A]\nb=2\n; about B\n[C]\nd=4\n", content());

  ini.Section("C");
  ini.INISection("ignored=text");
  EXPECT_EQ("[A]\nb=2\n; about B\n", content());
  EXPECT_TRUE(ini.SUCCESS());
}

TEST_F(IniFileTest, ListsAreNulSeparatedAndEnumerationsStartAtOne) {
  IniFile ini = open("[A]\nx=1\n;c=2\ny=\n[B]\n[C]\n", "a");
  EXPECT_EQ(std::string("x\0y\0", 4), ini.INISection());
  EXPECT_EQ(std::string("A\0B\0C\0", 6), ini.Sections());

  std::vector<std::string> items{"stale"};
  int count = -1;
  ini.EnumerateCurrentSection(items, count);
  EXPECT_EQ(2, count);
  EXPECT_EQ((std::vector<std::string>{"", "x", "y"}), items);
  ini.EnumerateAllSections(items, count);
  EXPECT_EQ(3, count);
  EXPECT_EQ((std::vector<std::string>{"", "A", "B", "C"}), items);

  ini.Section("B");
  ini.EnumerateCurrentSection(items, count);
  EXPECT_EQ(0, count);
  EXPECT_EQ(std::vector<std::string>{""}, items);
}

TEST_F(IniFileTest, BooleanValueAcceptsYesTrueAndOne) {
  const struct {
    const char* name;
    const char* line;
    bool expected;
  } cases[] = {
      {"LowerYes", "flag=yes", true},    {"MixedTrue", "flag=True", true},
      {"One", "flag=1", true},           {"LetterY", "flag=Y", false},
      {"On", "flag=on", false},          {"Zero", "flag=0", false},
      {"AbsentKey", "other=YES", false},
  };
  for (const auto& c : cases) {
    IniFile ini = open(std::string("[S]\n") + c.line + "\n", "S", "flag");
    EXPECT_EQ(c.expected, ini.BooleanValue()) << c.name;
  }
}

TEST(IniFileNumbers, ClngDefaultConvertsWholeNumbersOrGivesTheDefault) {
  const struct {
    const char* name;
    const char* text;
    std::int32_t expected;
  } cases[] = {
      {"Digits", "42", 42},
      {"TrailingLetter", "12x", 7},
      {"SurroundingBlanks", "  42\t", 42},
      {"Negative", "-15", -15},
      {"Empty", "", 7},
      {"SignOnly", "-", 7},
      {"InnerBlank", "4 2", 7},
      {"FractionRoundsUp", "2.6", 3},
      {"HalfRoundsToEven", "2.5", 2},
      {"OddHalfRoundsUp", "3.5", 4},
      {"Largest", "2147483647", 2147483647},
      {"Smallest", "-2147483648", -2147483647 - 1},
      {"TooLarge", "2147483648", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, IniFile::CLngDefault(c.text, 7)) << c.name;
}

TEST_F(IniFileTest, CreateMakesAnEmptyFileAndLeavesAnExistingOneAlone) {
  IniFile ini;
  const fs::path fresh = folder_ / "fresh.ini";
  EXPECT_TRUE(ini.CREATE(fresh.string()));
  EXPECT_EQ(fresh.string(), ini.Path());
  EXPECT_TRUE(fs::exists(fresh));
  EXPECT_EQ(0u, fs::file_size(fresh));

  WriteFile(file(), "[S]\nk=v\n");
  EXPECT_TRUE(ini.CREATE(file().string()));
  EXPECT_EQ("[S]\nk=v\n", content());

  EXPECT_FALSE(ini.CREATE((folder_ / "missing" / "x.ini").string()));
}

TEST_F(IniFileTest, FileNameIsFoundWithoutRegardToCase) {
  open("[S]\nk=v\n", "S", "k");
  IniFile ini;
  ini.Path((folder_ / "a4w.ini").string());
  ini.Section("S");
  ini.key("k");
  EXPECT_EQ("v", ini.value());
  std::string text = "w";
  ini.value(text);
  EXPECT_EQ("[S]\nk=w\n", content());
  EXPECT_FALSE(fs::exists(folder_ / "a4w.ini"));
}

}  // namespace
}  // namespace util
