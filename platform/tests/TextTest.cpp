#include "platform/Text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace platform {
namespace {

struct TextCase {
  const char* name;
  std::function<std::string(std::string_view)> helper;
  std::string text;
  std::string expected;
};

class TextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextTest, GivesTheExpectedText) {
  EXPECT_EQ(GetParam().expected, GetParam().helper(GetParam().text));
}

const auto trimTabs = [](std::string_view text) { return Trim(text, " \t"); };
const auto upper = [](std::string_view text) { return UpperCase(text); };
const auto fold = [](std::string_view text) { return FoldCase(text); };
const auto trim = [](std::string_view text) { return Trim(text); };
const auto trimRight = [](std::string_view text) { return TrimRight(text); };

INSTANTIATE_TEST_SUITE_P(
    Helpers, TextTest,
    ::testing::Values(
        TextCase{"UpperCaseTouchesOnlyAsciiLetters", upper, "az AZ 09 \xe9", "AZ AZ 09 \xe9"},
        TextCase{"FoldCaseTouchesOnlyAsciiLetters", fold, "AZ az @[ \xc9", "az az @[ \xc9"},
        TextCase{"TrimBothEnds", trim, "  a b  ", "a b"},
        TextCase{"TrimBlanksOnly", trim, "   ", ""},
        TextCase{"TrimKeepsTabsByDefault", trim, "\ta\t", "\ta\t"},
        TextCase{"TrimGivenCharacters", trimTabs, " \ta\t ", "a"},
        TextCase{"TrimRightKeepsLeadingBlanks", trimRight, "  a  ", "  a"},
        TextCase{"TrimRightBlanksOnly", trimRight, "  ", ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(EqualsIgnoreCaseTest, ComparesAsciiLettersWithoutCase) {
  EXPECT_TRUE(EqualsIgnoreCase("Programs", "PROGRAMS"));
  EXPECT_FALSE(EqualsIgnoreCase("Programs", "Program"));
  EXPECT_FALSE(EqualsIgnoreCase("[", "{"));  // 0x5B and 0x7B differ by the case bit only
}

}  // namespace
}  // namespace platform
