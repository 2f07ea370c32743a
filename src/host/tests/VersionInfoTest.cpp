#include "host/VersionInfo.h"

#include "host/testsupport/InstalledSite.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

namespace host {
namespace {

using namespace host::testing;

erp::RuntimeOptions runtime(std::array<std::uint16_t, 4> version, std::int32_t edition,
                            std::string productUpdate) {
  erp::RuntimeOptions options;
  options.accpacVersion = version;
  options.edition = edition;
  options.productUpdate = std::move(productUpdate);
  return options;
}

TEST(GetProgramBuildTest, CountsDaysSinceTheYear2000) {
  InstalledSite site;
  const auto program = site.programs() / "ordavel";
  std::ofstream(program).put('x');
  auto buildOf = [&program](int year, int month, int day) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&tm));
    std::filesystem::last_write_time(program, std::chrono::file_clock::from_sys(when));
    return GetProgramBuild(program);
  };
  EXPECT_EQ("Build 0 created on 2000/01/01", buildOf(2000, 1, 1));
  EXPECT_EQ("Build 60 created on 2000/03/01", buildOf(2000, 3, 1));  // 2000 was a leap year
  EXPECT_EQ("Build 8796 created on 2024/01/31", buildOf(2024, 1, 31));
}

TEST(GetProgramBuildTest, MissingProgramGivesNothing) {
  EXPECT_EQ("", GetProgramBuild("/nonexistent/ordavel"));
}

TEST(GetErpEditionTest, ReadsTheEditionWithItsFallbacks) {
  InstalledSite site;
  EXPECT_EQ(1, GetErpEdition(site.registry()));  // no key
  site.setText("Programs", "/erp");
  EXPECT_EQ(0, GetErpEdition(site.registry()));  // key without the value
  site.install(runtime({6, 6, 0, 40}, 2, "2"));
  EXPECT_EQ(2, GetErpEdition(site.registry()));
  site.setText("Edition", "many");
  EXPECT_EQ(1, GetErpEdition(site.registry()));  // a value that is no number
}

TEST(GetEditionNameTest, LoadsTheStringFromTheRuntimeLibrary) {
  InstalledSite site;
  site.install();
  const AccpacPaths paths = site.paths();
  EXPECT_EQ("Sage 300 Small Business", GetEditionName(paths, 3509));
  EXPECT_EQ("Sage 300 Premium", GetEditionName(paths, 3511));
  EXPECT_EQ("", GetEditionName(paths, 42));
  std::filesystem::remove(site.runtime() / "DsktpEng.dll");
  EXPECT_EQ("", GetEditionName(paths, 3511));
}

TEST(GetSystemManagerVersionTest, NamesVersionEditionBuildAndProductUpdate) {
  auto check = [&](const char* name, const erp::RuntimeOptions& options, bool programFile,
                   const char* expected) {
    InstalledSite site;
    site.install(options);
    if (!programFile) std::filesystem::remove(site.runtime() / "accpac.exe");
    EXPECT_EQ(expected, GetSystemManagerVersion(site.paths(), site.registry())) << name;
  };
  check("StandardInstallation", {}, true, "(6.6A)(Sage 300 Premium)(Build 40)(Product Update 2)");
  check("WithProductUpdate", runtime({6, 0, 1, 25}, 1, "2"), true,
        "(6.0B)(Sage 300 Standard)(Build 25)(Product Update 2)");
  check("WithoutProductUpdate", runtime({6, 0, 1, 25}, 1, ""), true,
        "(6.0B)(Sage 300 Standard)(Build 25)");
  check("MissingProgramFileIsVersionZero", runtime({6, 6, 0, 40}, 0, "2"), false,
        "(0.0A)(Sage 300 Small Business)(Build 0)(Product Update 2)");
  check("BuildBeyondTheLastLetterGivesNothing", runtime({6, 0, 191, 1}, 2, "2"), true, "");
}

}  // namespace
}  // namespace host
