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
  IniFile ini = open(file);
  ini.Default("fallback");
  auto check = [&](const char* name, const char* section, const char* key, const char* expected) {
    ini.Section(section);
    ini.key(key);
    EXPECT_EQ(expected, ini.value()) << name;
  };
  check("FirstKeyWins", "First", "key", "one");
  check("FirstSectionWins", "First", "other", "fallback");
  check("KeysBeforeAnySectionAreIgnored", "", "top", "fallback");
  check("CommentIsNoKey", "First", "; comment", "fallback");
  check("MatchingQuotesAreTakenOff", "First", "quoted", "  spaced  ");
  check("SingleQuotesAreTakenOff", "First", "single", "x");
  check("UnmatchedQuoteIsKept", "First", "half", "\"open");
  check("EmptyValueIsNotTheDefault", "First", "empty", "");
  check("KeyAnyCaseValueTrimmed", "FIRST", "padded", "D:\\Data");
  check("SectionNameIsTrimmed", "second", "K", "second");
  check("MissingSection", "Third", "key", "fallback");
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
  auto check = [&](const char* name, const char* before, const char* after) {
    IniFile ini = open(before, "S", "b");
    std::string text = "2";
    ini.value(text);
    EXPECT_EQ(after, content()) << name;
  };
  check("UnixLineEnds", "[S]\na=1\n", "[S]\na=1\nb=2\n");
  check("WindowsLineEnds", "[S]\r\na=1\r\n", "[S]\r\na=1\r\nb=2\r\n");
  check("NewFileGetsWindowsLineEnds", "", "[S]\r\nb=2\r\n");
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
  auto check = [&](const char* name, const char* line, bool expected) {
    IniFile ini = open(std::string("[S]\n") + line + "\n", "S", "flag");
    EXPECT_EQ(expected, ini.BooleanValue()) << name;
  };
  check("LowerYes", "flag=yes", true);
  check("MixedTrue", "flag=True", true);
  check("One", "flag=1", true);
  check("LetterY", "flag=Y", false);
  check("On", "flag=on", false);
  check("Zero", "flag=0", false);
  check("AbsentKey", "other=YES", false);
}

TEST(IniFileNumbers, ClngDefaultConvertsWholeNumbersOrGivesTheDefault) {
  auto check = [&](const char* name, const char* text, std::int32_t expected) {
    EXPECT_EQ(expected, IniFile::CLngDefault(text, 7)) << name;
  };
  check("Digits", "42", 42);
  check("TrailingLetter", "12x", 7);
  check("SurroundingBlanks", "  42\t", 42);
  check("Negative", "-15", -15);
  check("Empty", "", 7);
  check("SignOnly", "-", 7);
  check("InnerBlank", "4 2", 7);
  check("FractionRoundsUp", "2.6", 3);
  check("HalfRoundsToEven", "2.5", 2);
  check("OddHalfRoundsUp", "3.5", 4);
  check("Largest", "2147483647", 2147483647);
  check("Smallest", "-2147483648", -2147483647 - 1);
  check("TooLarge", "2147483648", 7);
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
