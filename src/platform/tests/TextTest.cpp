#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(TextTest, HelpersTouchOnlyAsciiLettersAndTheGivenBlanks) {
  auto check = [](const char* name, auto helper, std::string_view text, std::string_view expected) {
    EXPECT_EQ(expected, helper(text)) << name;
  };
  const auto upper = [](std::string_view text) { return UpperCase(text); };
  const auto fold = [](std::string_view text) { return FoldCase(text); };
  const auto trim = [](std::string_view text) { return Trim(text); };
  const auto trimTabs = [](std::string_view text) { return Trim(text, " \t"); };
  const auto trimRight = [](std::string_view text) { return TrimRight(text); };
  check("UpperCaseTouchesOnlyAsciiLetters", upper, "az AZ 09 \xe9", "AZ AZ 09 \xe9");
  check("FoldCaseTouchesOnlyAsciiLetters", fold, "AZ az @[ \xc9", "az az @[ \xc9");
  check("TrimBothEnds", trim, "  a b  ", "a b");
  check("TrimBlanksOnly", trim, "   ", "");
  check("TrimKeepsTabsByDefault", trim, "\ta\t", "\ta\t");
  check("TrimGivenCharacters", trimTabs, " \ta\t ", "a");
  check("TrimRightKeepsLeadingBlanks", trimRight, "  a  ", "  a");
  check("TrimRightBlanksOnly", trimRight, "  ", "");
}

TEST(EqualsIgnoreCaseTest, ComparesAsciiLettersWithoutCase) {
  EXPECT_TRUE(EqualsIgnoreCase("Programs", "PROGRAMS"));
  EXPECT_FALSE(EqualsIgnoreCase("Programs", "Program"));
  EXPECT_FALSE(EqualsIgnoreCase("[", "{"));  // 0x5B and 0x7B differ by the case bit only
}

}  // namespace
}  // namespace platform
