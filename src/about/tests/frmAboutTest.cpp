#include "about/frmAbout.h"

#include "about/VersionResource.h"
#include "about/tests/testsupport/Fakes.h"
#include "util/Addresses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace about {
namespace {

using namespace about::testing;

class frmAboutTest : public ::testing::Test {
 protected:
  frmAbout& loaded() {
    form.Form_Load();
    return form;
  }

  FixedVersionTexts versions;
  FixedSiteReader site;
  FakePointer pointer;
  FakeTimer timerHomePage;
  FakeTimer timerLatestVersion;
  RecordingShell shell;
  RecordingNotifier notifier;
  frmAbout form{{versions, site, pointer, timerHomePage, timerLatestVersion, shell, notifier}};
};

TEST_F(frmAboutTest, LoadFillsTheWindow) {
  const frmAbout& f = loaded();
  EXPECT_EQ("About Ordavel", f.Caption());
  EXPECT_EQ("Ordavel", f.frmProduct());
  EXPECT_EQ("Build 9600 created on 2026/04/14", f.lblBuildNumber());
  EXPECT_EQ("(6.6A)(Premium)(Build 40)(Product Update 2)", f.txtSystemManagerVersion());
  EXPECT_EQ("Northwind Traders", f.txtCompany());
  EXPECT_EQ("NW-0042", f.txtClientID());
  EXPECT_EQ(kLegalCopyright, f.lblCopyright());
  EXPECT_EQ(kBlack, f.lblCopyrightForeColor());
  EXPECT_EQ("Quenlix Home Page", f.txtHomePage().Text());
  EXPECT_EQ("The Latest Ordavel Features", f.txtLatestVersion().Text());
  EXPECT_FALSE(timerHomePage.IsRunning());
  EXPECT_FALSE(timerLatestVersion.IsRunning());
}

TEST_F(frmAboutTest, LoadGoesOnWhenASourceFailsAndShowsTheMakerForNoSiteRecord) {
  const std::string fixed = "(6.6A)(Premium)(Build 40)(Product Update 2)";
  auto check = [&](const char* name, bool versionsFail, bool noRecord, bool readerFails,
                   const std::string& version, const char* company, const char* clientId) {
    versions.fails = versionsFail;
    if (noRecord) site.client.reset();
    site.fails = readerFails;
    loaded();
    EXPECT_EQ("About Ordavel", form.Caption()) << name;
    EXPECT_EQ(version, form.txtSystemManagerVersion()) << name;
    EXPECT_EQ(company, form.txtCompany()) << name;
    EXPECT_EQ(clientId, form.txtClientID()) << name;
  };
  check("VersionTextsFail", true, false, false, "", "Northwind Traders", "NW-0042");
  check("RecordNotRead", false, true, false, fixed, "Quenlix", "0000000000");
  check("ReaderFails", false, true, true, fixed, "Quenlix", "0000000000");
}

// The warning texts themselves are BlankWarning's; the window shows one in red instead of the
// copyright.
TEST_F(frmAboutTest, FirstActivationWarnsAboutBlanksAroundTheClientNameInRed) {
  site.client = SiteClient{"Acme ", "ID"};
  loaded().Form_Activate();
  EXPECT_EQ("Company contains 1 trailing space(s).", form.lblCopyright());
  EXPECT_EQ(kRed, form.lblCopyrightForeColor());
}

TEST_F(frmAboutTest, OnlyTheFirstActivationLooksForBlanks) {
  loaded().Form_Activate();
  site.client = SiteClient{"  Acme", "ID"};
  loaded().Form_Activate();
  EXPECT_EQ(kLegalCopyright, form.lblCopyright());
  EXPECT_EQ(kBlack, form.lblCopyrightForeColor());
}

TEST_F(frmAboutTest, EachLinkOpensItsOwnPage) {
  loaded().txtHomePage().Click();
  form.txtLatestVersion().Click();
  EXPECT_EQ((std::vector<std::string>{util::kMakerHomePage, util::kProductPage}), shell.opened);
}

TEST_F(frmAboutTest, EachLinkRunsItsOwnTimer) {
  loaded().txtLatestVersion().MouseMove();
  EXPECT_TRUE(timerLatestVersion.IsRunning());
  EXPECT_FALSE(timerHomePage.IsRunning());
  EXPECT_FALSE(form.txtHomePage().Underlined());
}

TEST_F(frmAboutTest, OkClosesTheWindow) {
  int closes = 0;
  form.SetCloseHandler([&] { ++closes; });
  loaded().cmdOK_Click();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(1, closes);
}

TEST_F(frmAboutTest, EachTextAndColourIsAnnouncedOnceWhenItChanges) {
  site.client = SiteClient{"  Acme", "ID"};
  const struct {
    const char* name;
    host::Signal<>* signal;
    int calls;  // the copyright is set on loading and replaced by the warning
  } cases[] = {{"Caption", &form.CaptionChanged, 1},
               {"frmProduct", &form.frmProductChanged, 1},
               {"lblBuildNumber", &form.lblBuildNumberChanged, 1},
               {"txtSystemManagerVersion", &form.txtSystemManagerVersionChanged, 1},
               {"txtCompany", &form.txtCompanyChanged, 1},
               {"txtClientID", &form.txtClientIDChanged, 1},
               {"lblCopyright", &form.lblCopyrightChanged, 2},
               {"lblCopyrightForeColor", &form.lblCopyrightForeColorChanged, 1},
               {"txtLatestVersion", &form.txtLatestVersion().TextChanged, 1}};
  std::vector<int> heard(std::size(cases));
  std::vector<host::ScopedConnection> view;
  for (size_t i = 0; i < std::size(cases); ++i) {
    view.push_back(cases[i].signal->Connect([&heard, i] { ++heard[i]; }));
  }
  loaded();
  loaded().Form_Activate();
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].calls, heard[i]) << cases[i].name;
}

}  // namespace
}  // namespace about
