#include "util/EnvironmentExpansion.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"

namespace util {
namespace {

TEST(ExpandEnvironmentReferences, ReplacesSetNamesOnly) {
  platform::testing::ScopedEnv data("ORDAVEL_X_DATA", "/srv");
  platform::testing::ScopedEnv empty("ORDAVEL_X_EMPTY", "");
  platform::testing::ScopedEnv unset("ORDAVEL_X_UNSET", std::nullopt);
  auto check = [&](const char* name, const char* text, const char* expected) {
    EXPECT_EQ(expected, ExpandEnvironmentReferences(text)) << name;
  };
  check("NoReference", "C:\\A", "C:\\A");
  check("OneReference", "%ORDAVEL_X_DATA%/co", "/srv/co");
  check("TwoReferences", "%ORDAVEL_X_DATA%%ORDAVEL_X_DATA%", "/srv/srv");
  check("EmptyVariable", "a%ORDAVEL_X_EMPTY%b", "ab");
  check("UnsetNameIsKept", "%ORDAVEL_X_UNSET%/co", "%ORDAVEL_X_UNSET%/co");
  check("ClosingSignOpensTheNext", "%ORDAVEL_X_UNSET%ORDAVEL_X_DATA%", "%ORDAVEL_X_UNSET/srv");
  check("LoneSign", "50% off", "50% off");
  check("DoubleSign", "100%%", "100%%");
}

}  // namespace
}  // namespace util
