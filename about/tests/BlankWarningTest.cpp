#include "about/BlankWarning.h"

#include <gtest/gtest.h>

namespace about {
namespace {

TEST(BlankWarningTest, CountsTheBlanksAtEachEnd) {
  const struct {
    const char* name;
    const char* text;
    std::optional<std::string> expected;
  } cases[] = {
      {"TwoLeading", "  Acme", "Company contains 2 leading space(s)."},
      {"BothEnds", " Acme   ", "Company contains 1 leading space(s), and 3 trailing space(s)."},
      {"TrailingOnly", "Acme ", "Company contains 1 trailing space(s)."},
      {"None", "Acme", std::nullopt},
      {"InnerBlanksOnly", "Acme  Ltd", std::nullopt},
      {"Empty", "", std::nullopt},
      {"BlanksOnly", "  ", "Company contains 2 leading space(s), and 2 trailing space(s)."},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, BlankWarning("Company", c.text)) << c.name;
  EXPECT_EQ("Client contains 1 leading space(s).", BlankWarning("Client", " X"));
}

}  // namespace
}  // namespace about
