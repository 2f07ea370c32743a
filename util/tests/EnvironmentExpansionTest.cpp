#include "util/EnvironmentExpansion.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"

namespace util {
namespace {

TEST(ExpandEnvironmentReferences, ReplacesSetNamesOnly) {
  platform::testing::ScopedEnv data("ORDAVEL_X_DATA", "/srv");
  platform::testing::ScopedEnv empty("ORDAVEL_X_EMPTY", "");
  platform::testing::ScopedEnv unset("ORDAVEL_X_UNSET", std::nullopt);
  const struct {
    const char* name;
    const char* text;
    const char* expected;
  } cases[] = {
      {"NoReference", "C:\\A", "C:\\A"},
      {"OneReference", "%ORDAVEL_X_DATA%/co", "/srv/co"},
      {"TwoReferences", "%ORDAVEL_X_DATA%%ORDAVEL_X_DATA%", "/srv/srv"},
      {"EmptyVariable", "a%ORDAVEL_X_EMPTY%b", "ab"},
      {"UnsetNameIsKept", "%ORDAVEL_X_UNSET%/co", "%ORDAVEL_X_UNSET%/co"},
      {"ClosingSignOpensTheNext", "%ORDAVEL_X_UNSET%ORDAVEL_X_DATA%", "%ORDAVEL_X_UNSET/srv"},
      {"LoneSign", "50% off", "50% off"},
      {"DoubleSign", "100%%", "100%%"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, ExpandEnvironmentReferences(c.text)) << c.name;
}

}  // namespace
}  // namespace util
