#include "host/AccpacSiteCnfg.h"

#include "host/testsupport/InstalledSite.h"

#include <gtest/gtest.h>

namespace host {
namespace {

using namespace host::testing;

TEST(AccpacSiteCnfgTest, OrgIdIsPaddedWithBlanksAndCutToSixCharacters) {
  InstalledSite site;
  AccpacSiteCnfg config(site.paths());
  auto orgId = [&config](const std::string& text) {
    config.OrgID(text);
    return config.OrgID();
  };
  EXPECT_EQ("SAMPLE", orgId("SAMPLECO"));
  EXPECT_EQ("AB    ", orgId("AB"));
  EXPECT_EQ("SAMLTD", orgId("SAMLTD"));
  EXPECT_EQ("      ", orgId(""));
  EXPECT_EQ("X     ", orgId("X"));  // a shorter text after a longer one leaves no remains
}

TEST(AccpacSiteCnfgTest, MissingLibraryMakesOpenFail) {
  InstalledSite site;
  site.setText("Programs", site.programs().string());
  site.setText("SharedData", site.sharedData().string());
  AccpacSiteCnfg config(site.paths());
  EXPECT_FALSE(config.OPEN_());
  EXPECT_EQ(AccpacSiteCnfg::kLibraryUnavailable, config.LastError());
  EXPECT_FALSE(config.IsOpen());
}

TEST(AccpacSiteCnfgTest, SharedDataWithoutASiteMakesOpenFail) {
  InstalledSite site;
  site.install();
  AccpacSiteCnfg config(site.paths());
  EXPECT_FALSE(config.OPEN_());
  EXPECT_EQ(erp::kSiteConfigNoSite, config.LastError());
  EXPECT_FALSE(config.IsOpen());
}

class SiteRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site.install();
    site.createSite(
        {"", longName.substr(0, 60), longName, "Northbridge Systems", "Dana W.", "Morgan Ellis"},
        {"SAMLTD", "CLIENT-LTD", "Sample Limited", "", "", "Pat"});
  }

  const std::string longName = std::string(59, 'N') + "Z";
  InstalledSite site;
};

TEST_F(SiteRoundTripTest, SiteRecordIsReadThroughTheLibrary) {
  AccpacSiteCnfg config(site.paths());
  ASSERT_TRUE(config.OPEN_());
  EXPECT_TRUE(config.IsOpen());
  EXPECT_EQ(0, config.LastError());
  EXPECT_EQ(std::filesystem::canonical(site.runtime()), std::filesystem::current_path());

  config.OrgID("");
  ASSERT_TRUE(config.Get_());
  EXPECT_EQ(longName, config.ClientID());
  EXPECT_EQ(longName, config.ClientName());
  EXPECT_EQ("Northbridge Systems", config.Dealer());
  EXPECT_EQ("Dana W.", config.Consultant());
  EXPECT_EQ("Morgan Ellis", config.Contact());
  EXPECT_EQ("      ", config.OrgID());
}

TEST_F(SiteRoundTripTest, OrgIdSelectsTheRecordUntilTheLibraryIsClosed) {
  AccpacSiteCnfg config(site.paths());
  ASSERT_TRUE(config.OPEN_());
  EXPECT_TRUE(config.OPEN_());
  config.OrgID("SAMLTD");
  ASSERT_TRUE(config.Get_());
  EXPECT_EQ("CLIENT-LTD", config.ClientID());
  EXPECT_EQ("Sample Limited", config.ClientName());
  EXPECT_EQ("", config.Dealer());
  EXPECT_EQ("Pat", config.Contact());
  EXPECT_EQ("SAMLTD", config.OrgID());
  config.OrgID("NOSUCH");
  EXPECT_FALSE(config.Get_());
  EXPECT_EQ(erp::kSiteConfigNoRecord, config.LastError());

  config.CLOSE_();
  EXPECT_FALSE(config.IsOpen());
  EXPECT_FALSE(config.Get_());
  EXPECT_EQ(1, config.LastError());
  ASSERT_TRUE(config.OPEN_());
  config.OrgID("");
  EXPECT_TRUE(config.Get_());
  EXPECT_EQ("Morgan Ellis", config.Contact());
}

}  // namespace
}  // namespace host
