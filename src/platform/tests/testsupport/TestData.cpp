#include "platform/tests/testsupport/TestData.h"

#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace platform::testing {

std::string TestData(const std::string& name) {
  const std::filesystem::path file = std::filesystem::path(ORDAVEL_SOURCE_DIR) / name;
  EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
  return ReadFile(file);
}

std::string MaskStamps(const std::string& log) {
  static const std::regex stamp(R"((^|\n)[^ \r\n]+ [0-9:]+(?: [AP]M)? )");
  return std::regex_replace(log, stamp, "$1<stamp> ");
}

}  // namespace platform::testing
