#include "about/HostSources.h"

#include "host/testsupport/InstalledSite.h"

#include <gtest/gtest.h>

namespace about {
namespace {

using host::testing::InstalledSite;

TEST(AccpacSiteConfigurationReaderTest, ReadsTheSitesOwnRecordNotACompanys) {
  InstalledSite site;
  site.install();
  site.createSite({"", "CLIENT-0042", "  Northwind Traders", "", "", ""},
                  {"SAMLTD", "CLIENT-LTD", "Sample Limited", "", "", ""});
  const host::AccpacPaths paths = site.paths();
  const auto client = AccpacSiteConfigurationReader(paths).ReadSiteClient();
  ASSERT_TRUE(client.has_value());
  EXPECT_EQ("  Northwind Traders", client->clientName);
  EXPECT_EQ("CLIENT-0042", client->clientID);
}

TEST(AccpacSiteConfigurationReaderTest, NothingWhenTheRecordCannotBeRead) {
  auto check = [&](const char* name, bool installed) {
    InstalledSite site;
    if (installed) site.install();
    const host::AccpacPaths paths = site.paths();
    EXPECT_EQ(std::nullopt, AccpacSiteConfigurationReader(paths).ReadSiteClient()) << name;
  };
  check("NoInstallation", false);
  check("InstalledWithoutASite", true);
}

}  // namespace
}  // namespace about
