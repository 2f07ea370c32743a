#include "util/ResolvePathCase.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"

namespace util {
namespace {

namespace fs = std::filesystem;

TEST(ResolvePathCase, UsesTheExistingSpellingOfEachComponent) {
  platform::testing::TempFolder folder;
  fs::create_directories(folder / "SITE" / "Company" / "SAMLTD");
  platform::testing::WriteFile(folder / "SITE" / "A4W.INI", "");
  const fs::path root = folder.path();

  auto check = [&](const char* name, const fs::path& given, const fs::path& expected) {
    EXPECT_EQ(expected, ResolvePathCase(given)) << name;
  };
  check("ExactSpelling", root / "SITE" / "A4W.INI", root / "SITE" / "A4W.INI");
  check("FileInOtherCase", root / "site" / "a4w.ini", root / "SITE" / "A4W.INI");
  check("FolderInCapitals", root / "SITE" / "COMPANY" / "samltd",
        root / "SITE" / "Company" / "SAMLTD");
  check("MissingLastComponentKeepsItsSpelling", root / "site" / "COMPANY" / "Ordavel",
        root / "SITE" / "Company" / "Ordavel");
  check("EverythingAfterAMissingComponentIsKept", root / "Nope" / "company",
        root / "Nope" / "company");
  check("DotDotIsKept", root / "site" / ".." / "SITE", root / "SITE" / ".." / "SITE");
  check("TrailingSeparator", root / "site" / "", root / "SITE" / "");
  check("AFileIsNoFolder", root / "site" / "a4w.ini" / "x", root / "SITE" / "A4W.INI" / "x");
}

TEST(ResolvePathCase, AnExactMatchWinsOverOtherSpellings) {
  platform::testing::TempFolder folder;
  fs::create_directories(folder / "Logs");
  fs::create_directories(folder / "logs");
  fs::create_directories(folder / "LOGS");
  EXPECT_EQ(folder / "logs", ResolvePathCase(folder / "logs"));
  EXPECT_EQ(folder / "LOGS", ResolvePathCase(folder / "lOgS"));
}

TEST(ResolvePathCase, RelativePathsAreResolvedFromTheWorkingFolder) {
  platform::testing::TempFolder folder;
  fs::create_directories(folder / "Runtime");
  const fs::path previous = fs::current_path();
  fs::current_path(folder.path());
  const fs::path resolved = ResolvePathCase("runtime/a4wapi.so");
  fs::current_path(previous);
  EXPECT_EQ(fs::path("Runtime/a4wapi.so"), resolved);
}

}  // namespace
}  // namespace util
