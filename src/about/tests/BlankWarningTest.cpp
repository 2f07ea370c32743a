#include "about/BlankWarning.h"

#include <gtest/gtest.h>

namespace about {
namespace {

TEST(BlankWarningTest, CountsTheBlanksAtEachEnd) {
  auto check = [&](const char* name, const char* text, const std::optional<std::string>& expected) {
    EXPECT_EQ(expected, BlankWarning("Company", text)) << name;
  };
  check("TwoLeading", "  Acme", "Company contains 2 leading space(s).");
  check("BothEnds", " Acme   ", "Company contains 1 leading space(s), and 3 trailing space(s).");
  check("TrailingOnly", "Acme ", "Company contains 1 trailing space(s).");
  check("None", "Acme", std::nullopt);
  check("InnerBlanksOnly", "Acme  Ltd", std::nullopt);
  check("Empty", "", std::nullopt);
  check("BlanksOnly", "  ", "Company contains 2 leading space(s), and 2 trailing space(s).");
  EXPECT_EQ("Client contains 1 leading space(s).", BlankWarning("Client", " X"));
}

}  // namespace
}  // namespace about
