#include "util/IniFile.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"

namespace util {
namespace {

namespace fs = std::filesystem;
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

TEST_F(IniFileTest, FileNameIsFoundWithoutRegardToCase) {
  open("[S]\nk=v\n", "S", "k");
  IniFile ini;
  ini.Path((folder_ / "a4w.ini").string());
  ini.Section("S");
  ini.key("k");
  EXPECT_EQ("v", ini.value());
}

}  // namespace
}  // namespace util
