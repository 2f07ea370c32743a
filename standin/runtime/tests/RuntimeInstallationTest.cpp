#include "standin/runtime/Installation.h"

#include "standin/runtime/SiteConfigRecord.h"
#include "standin/testsupport/SiteTempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace erp {
namespace {

TEST(RuntimeInstallationTest, MissingLibraryIsAnErrorAndRecordsNothing) {
  TempSite temp;
  RegistryStore registry{temp.folder() / "registry"};
  RuntimeOptions options;
  options.libraryFolder = temp.folder() / "nowhere";
  try {
    installStandinRuntime(temp.folder() / "Programs", temp.folder(), registry, options);
    FAIL() << "installed without libraries";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string::npos, std::string(error.what()).find("a4wapi.dll"));
  }
  RegistryValue ignored;
  EXPECT_EQ(RegistryStatus::kNotFound,
            registry.QueryValue(kLocalMachine, kConfigurationKey, "Programs", ignored));
}

TEST(SiteConfigRecordTest, ResultCodes) {
  TempSite temp;
  SiteDatabase site(temp.layout());
  site.setSiteRecord({"", "CLIENT-1", "Client One", "", "", ""});
  site.addCompany("SAMLTD", "Sample Limited");
  site.setSiteRecord({"SAMLTD", "CLIENT-2", "Limited", "", "", ""});
  auto check = [&](const char* name, const std::string& orgId, std::int32_t size,
                   std::int32_t expected) {
    std::string record(256, '\0');
    std::copy(orgId.begin(), orgId.end(), record.begin());
    EXPECT_EQ(expected, fillSiteConfigRecord(site, record.data(), size)) << name;
  };
  check("company", "SAMLTD", 256, kSiteConfigOk);
  check("company in lower case", "samltd", 256, kSiteConfigOk);
  check("unknown company", "NOSUCH", 256, kSiteConfigNoRecord);
  check("malformed org ID", "SAM-1 ", 256, kSiteConfigNoRecord);
  check("short record", "      ", 255, kSiteConfigShortRecord);
  EXPECT_EQ(kSiteConfigBadArgument, fillSiteConfigRecord(site, nullptr, 256));
}

}  // namespace
}  // namespace erp
