#include "app/Form1.h"

#include "erp/SiteDatabase.h"
#include "erp/testsupport/TestCompany.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"
#include "host/tests/InstalledSite.h"

#include <gtest/gtest.h>

namespace app {
namespace {

class RecordingMessages : public host::MessageBoxes {
 public:
  void Show(const std::string& text, const std::string&, host::MessageIcon) override {
    shown.push_back(text);
  }
  bool AskYesNo(const std::string& text, const std::string&, host::MessageIcon) override {
    shown.push_back(text);
    return true;
  }
  std::vector<std::string> shown;
};

class NoShell : public util::Shell {
 public:
  int open(const std::string&) override { return 33; }
  void explore(const std::string&) override {}
};

class NoFilterWindow : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
};

class Prompt : public erp::SignonPrompt {
 public:
  std::optional<erp::Credentials> ask(const std::string& message) override {
    if (cancel || !message.empty()) return std::nullopt;
    return erp::Credentials{"ADMIN", "admin", "SAMLTD"};
  }
  bool cancel = false;
};

/// An installed stand-in ERP with company SAMLTD and the main window on it.
class Form1Test : public ::testing::Test {
 protected:
  void Install(bool withSite, std::vector<std::string> applications) {
    site.install();
    if (!withSite) return;
    site.createSite({"", "CLIENT", "Client", "", "", ""},
                    {"SAMLTD", "CLIENT", "Client", "", "", ""});
    const erp::SiteLayout layout(site.sharedData());
    erp::SiteDatabase database(layout);
    database.addCompany("SAMLTD", "Sample Company Limited");
    database.addUser("ADMIN", "Administrator", "admin");
    database.grantCompany("ADMIN", "SAMLTD");
    for (const std::string& app : applications) {
      database.setApplication("SAMLTD", {app, app, "66A"});
    }
    company = std::make_unique<erp::testing::TestCompany>(layout.companyDatabase("SAMLTD"));
    company->addTaxData();
  }

  Form1& Window() {
    host::HostServices host;
    const auto shared = site.sharedData();
    host.newSessionManager = [this, shared] {
      return std::make_unique<host::standin::StandinSessionManager>(shared, prompt);
    };
    host.newErrorDisplay = [this] {
      return std::make_unique<host::standin::StandinErrorDisplay>(display);
    };
    host.desktopLibrary = std::make_shared<host::standin::StandinDesktopLibrary>(shared);
    host.commandLine = [] { return std::string(); };
    form = std::make_unique<Form1>(Form1Services{
        .host = std::move(host),
        .readPaths = [this] { return site.paths(); },
        .dataSources = factory,
        .messages = messages,
        .shell = shell,
        .notifier = site.notifier,
        .pump = pump,
        .filterWindow = filterWindow,
        .programFolder = site.programs().string(),
    });
    return *form;
  }

  const std::vector<std::string> kAll{"TX", "AP", "AR", "IC", "OE", "PO", "BK"};
  host::testing::InstalledSite site;
  std::unique_ptr<erp::testing::TestCompany> company;
  Prompt prompt;
  std::ostringstream errors;
  erp::ConsoleErrorDisplay display{errors};
  host::standin::StandinDataSourceFactory factory;
  RecordingMessages messages;
  NoShell shell;
  host::NoEventPump pump;
  NoFilterWindow filterWindow;
  std::unique_ptr<Form1> form;
};

TEST_F(Form1Test, CaptionNamesTheSignedOnCompany) {
  Install(true, kAll);
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  EXPECT_EQ("SAMLTD - Ordavel", window.Caption());
  window.Unload();
}

TEST_F(Form1Test, UnreadableSiteConfigurationEndsWithItsMessage) {
  Install(false, kAll);
  EXPECT_FALSE(Window().Load());
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(
      "You do not have access to the Sage 300 shared data folder, which is required, to run "
      "Ordavel.",
      messages.shown[0]);
}

TEST_F(Form1Test, CancelledSignOnEndsSilently) {
  Install(true, kAll);
  prompt.cancel = true;
  EXPECT_FALSE(Window().Load());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Form1Test, CompanyWithoutTaxServicesEndsWithTheTaxServicesError) {
  Install(true, {"AP", "AR"});
  Form1& window = Window();
  EXPECT_FALSE(window.Load());
  EXPECT_NE(std::string::npos,
            errors.str().find("Incorrect procedure. Tax Services is not active for this company."));
  EXPECT_FALSE(window.Source("adsAPVEN").IsOpen());
}

TEST_F(Form1Test, OnlyInventoryActiveBuildsOnlyItsTab) {
  Install(true, {"TX", "IC"});
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  EXPECT_FALSE(window.SSTab1().TabEnabled(0));
  EXPECT_TRUE(window.SSTab1().TabEnabled(2));
  EXPECT_EQ(0, window.SSTab1().Tab());
  EXPECT_TRUE(window.Built("ICItemsGrid"));
  EXPECT_FALSE(window.Built("SalesFromGrid"));
  EXPECT_FALSE(window.Built("CustomerCriteria"));
  window.Unload();
  EXPECT_TRUE(window.Unloaded());
}

TEST_F(Form1Test, RangeFieldsStartEmptyAndFullOfZ) {
  Install(true, kAll);
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  const host::FieldEditControl& to = window.RangeControl("afecToCustomer");
  EXPECT_EQ(std::string(static_cast<std::size_t>(window.Source("adsARCUS").Fields(1).Size()), 'Z'),
            to.Value());
  EXPECT_EQ("", window.RangeControl("afecFromCustomer").Value());
  EXPECT_EQ("Customer", to.LeftLabel());
  EXPECT_EQ("Bank Distribution Code",
            window.RangeControl("afecFromBankDistributionCode").LeftLabel());
  EXPECT_FALSE(to.Enabled());
  window.Unload();
}

TEST_F(Form1Test, RecurringPayablesBoxEnablesItsRangesAndTheSharedControls) {
  Install(true, kAll);
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  auto enabled = [&window](const std::string& name) { return window.RangeControl(name).Enabled(); };
  window.CheckBoxNamed("chkRecurringPayables").SetValue(1);
  for (const char* name : {"afecFromPayableCode", "afecToPayableCode", "afecFromPayableCodeVendor",
                           "afecToPayableCodeVendor", "afecPurchasesFromTaxGroup"}) {
    EXPECT_TRUE(enabled(name)) << name;
  }
  EXPECT_TRUE(window.GridControlNamed("agPurchasesTo").Enabled());
  window.CheckBoxNamed("chkVendors").SetValue(1);
  window.CheckBoxNamed("chkRecurringPayables").SetValue(0);
  EXPECT_FALSE(enabled("afecToPayableCodeVendor"));
  EXPECT_TRUE(enabled("afecPurchasesToTaxGroup"));
  EXPECT_TRUE(window.GridControlNamed("agPurchasesFrom").Enabled());
  window.Unload();
}

}  // namespace
}  // namespace app
