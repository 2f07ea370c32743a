#include "app/Form1.h"

#include "about/tests/Fakes.h"
#include "app/tests/Form1Fixture.h"
#include "util/ResolvePathCase.h"

#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace app {
namespace {

constexpr int kARTab = 1;

/// Today's date as the log file names carry it.
std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char date[9] = {};
  std::strftime(date, sizeof date, "%Y%m%d", &local);
  return date;
}

class Form1StartupTest : public testing::Form1Fixture {};

TEST_F(Form1StartupTest, NotInstalledEndsWithTheCriticalMessage) {
  Install(true, kAll);
  host::testing::InstalledSite bare;
  int reads = 0;
  readPaths = [&] { return ++reads == 1 ? site.paths() : bare.paths(); };
  Form1& window = Window();
  EXPECT_FALSE(window.Load());
  ASSERT_EQ(1u, messages.boxes.size());
  EXPECT_EQ("Sage Accpac is not installed.", messages.boxes[0].text);
  EXPECT_EQ("Ordavel", messages.boxes[0].title);
  EXPECT_EQ(host::MessageIcon::Critical, messages.boxes[0].icon);
  EXPECT_EQ(nullptr, window.Connection()) << "no sign-on after the message";
  EXPECT_EQ(2, reads);
}

struct APCase {
  std::string name;
  std::vector<erp::ActiveApplication> applications;
  bool apAvailable;
};

void PrintTo(const APCase& param, std::ostream* out) {
  *out << param.name;
}

class Form1APTabTest : public testing::Form1Fixture,
                       public ::testing::WithParamInterface<APCase> {};

TEST_P(Form1APTabTest, TabZeroStaysSelectedWhateverItsState) {
  std::vector<erp::ActiveApplication> applications{{"TX", "TX", "66A"}, {"AR", "AR", "66A"}};
  for (const erp::ActiveApplication& application : GetParam().applications) {
    applications.push_back(application);
  }
  InstallWith(true, applications);
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  EXPECT_EQ(GetParam().apAvailable, window.SSTab1().TabEnabled(0));
  EXPECT_EQ(GetParam().apAvailable, window.Built("PurchasesFromGrid"));
  EXPECT_EQ(GetParam().apAvailable, window.Source("adsAPVEN").IsOpen());
  EXPECT_TRUE(window.SSTab1().TabEnabled(kARTab));
  EXPECT_EQ(0, window.SSTab1().Tab());
  window.Unload();
}

INSTANTIATE_TEST_SUITE_P(
    Applications, Form1APTabTest,
    ::testing::Values(APCase{"ActiveAsItself", {{"AP", "AP", "66A"}}, true},
                      APCase{"SecondIdentifierDiffers", {{"AP", "A2", "66A"}}, false},
                      APCase{"SecondIdentifierInLowerCase", {{"AP", "ap", "66A"}}, false},
                      APCase{"NotActive", {}, false}),
    [](const ::testing::TestParamInfo<APCase>& param) { return param.param.name; });

struct OptionCase {
  std::string name;
  std::optional<std::int64_t> recurringChargesByCustomer;
  std::optional<std::int64_t> multicurrency;
  bool customerPairShown;
  bool currencyPairsShown;
};

void PrintTo(const OptionCase& param, std::ostream* out) {
  *out << param.name;
}

const std::vector<std::string> kCurrencyPairs{
    "afecFromItemPriceCurrency", "afecToItemPriceCurrency",        "afecFromMiscChargeCurrency",
    "afecToMiscChargeCurrency",  "afecFromAdditionalCostCurrency", "afecToAdditionalCostCurrency"};
const std::vector<std::string> kCustomerPair{"afecFromChargeCodeCustomer",
                                             "afecToChargeCodeCustomer"};

class Form1OptionTest : public testing::Form1Fixture,
                        public ::testing::WithParamInterface<OptionCase> {};

TEST_P(Form1OptionTest, OptionsDecideWhichPairsAreShown) {
  Install(true, kAll);
  if (GetParam().recurringChargesByCustomer) {
    company->insert("AR0001", {{"#6", *GetParam().recurringChargesByCustomer}});
  }
  if (GetParam().multicurrency) company->insert("IC0380", {{"#25", *GetParam().multicurrency}});
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  for (const std::string& name : kCustomerPair) {
    EXPECT_EQ(GetParam().customerPairShown, window.RangeControl(name).Visible()) << name;
  }
  for (const std::string& name : kCurrencyPairs) {
    EXPECT_EQ(GetParam().currencyPairsShown, window.RangeControl(name).Visible()) << name;
  }
  EXPECT_TRUE(window.RangeControl("afecFromChargeCode").Visible());
  EXPECT_TRUE(window.RangeControl("afecFromItemPriceList").Visible());
  window.Unload();
}

INSTANTIATE_TEST_SUITE_P(
    Options, Form1OptionTest,
    ::testing::Values(OptionCase{"BothOn", 1, 1, true, true},
                      OptionCase{"BothOff", 0, 0, false, false},
                      OptionCase{"OnlyRecurringChargesByCustomer", 1, 0, true, false},
                      OptionCase{"OnlyMulticurrency", 0, 1, false, true},
                      OptionCase{"NoOptionRecords", std::nullopt, std::nullopt, false, false}),
    [](const ::testing::TestParamInfo<OptionCase>& param) { return param.param.name; });

TEST_F(Form1OptionTest, BoxesStillEnableAndDisableHiddenPairs) {
  Install(true, kAll);
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  auto follows = [&window](const std::string& box, const std::string& from, const std::string& to) {
    ASSERT_FALSE(window.RangeControl(from).Visible()) << from;
    window.CheckBoxNamed(box).SetValue(1);
    EXPECT_TRUE(window.RangeControl(from).Enabled()) << from;
    EXPECT_TRUE(window.RangeControl(to).Enabled()) << to;
    window.CheckBoxNamed(box).SetValue(0);
    EXPECT_FALSE(window.RangeControl(from).Enabled()) << from;
    EXPECT_FALSE(window.RangeControl(to).Enabled()) << to;
  };
  follows("chkRecurringCharges", "afecFromChargeCodeCustomer", "afecToChargeCodeCustomer");
  follows("chkItemPricingTaxes", "afecFromItemPriceCurrency", "afecToItemPriceCurrency");
  follows("chkOEMiscCharges", "afecFromMiscChargeCurrency", "afecToMiscChargeCurrency");
  follows("chkPOAdditionalCosts", "afecFromAdditionalCostCurrency", "afecToAdditionalCostCurrency");
  window.Unload();
}

class Form1ItemNumberTest : public testing::Form1Fixture {};

TEST_F(Form1ItemNumberTest, TypedItemNumbersAreShownFormatted) {
  Install(true, kAll);
  company->insert("IC0310", {{"ITEMNO", "A1000"}, {"FMTITEMNO", "A-1000"}});
  // Formatting the shown value a second time would find this item and show its number instead.
  company->insert("IC0310", {{"ITEMNO", "A-1000"}, {"FMTITEMNO", "AGAIN"}});
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  auto shown = [&window](const std::string& control, const std::string& typed) {
    host::FieldEditControl& edit = window.RangeControl(control);
    edit.Type(typed);
    return edit.Value();
  };
  EXPECT_EQ("A-1000", shown("afecFromItem", "A1000")) << "existing item, formatted once";
  EXPECT_EQ("B9", shown("afecFromItem", "B9")) << "unknown item stays as typed";
  EXPECT_EQ("A-1000", shown("afecToItem", "A1000")) << "the to control formats too";
  EXPECT_EQ("", shown("afecFromItem", "")) << "nothing typed";
  window.Unload();
}

class Form1MenuTest : public testing::Form1Fixture {
 protected:
  void SetUp() override {
    Install(true, kAll);
    aboutServices = &services;
  }

  about::testing::FixedVersionTexts versions;
  about::testing::FixedSiteReader siteReader;
  about::testing::FakePointer pointer;
  about::testing::FakeTimer timerHomePage;
  about::testing::FakeTimer timerLatestVersion;
  about::AboutServices services{versions,           siteReader, pointer,      timerHomePage,
                                timerLatestVersion, shell,      site.notifier};
};

TEST_F(Form1MenuTest, LogFilesShowsTheCompanysLogFolder) {
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  window.MenuItemNamed("mnuFileLogFiles").Click();
  EXPECT_EQ(
      std::vector<std::string>{"\"" + site.sharedData().string() + "/Company/SAMLTD/Ordavel\""},
      shell.explored);
  EXPECT_EQ(std::vector<std::string>{}, shell.opened);
  window.Unload();
}

TEST_F(Form1MenuTest, MissingUserGuideIsReportedWithoutAShellCall) {
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  window.MenuItemNamed("mnuHelpUserGuide").Click();
  EXPECT_EQ(std::vector<std::string>{site.programs().string() +
                                     "/Documentation/Ordavel User Guide.pdf does not exist."},
            site.notifier.messages);
  EXPECT_EQ(std::vector<std::string>{}, shell.opened);
  window.Unload();
}

TEST_F(Form1MenuTest, PresentUserGuideIsOpened) {
  const std::filesystem::path guide = site.programs() / "Documentation" / "Ordavel User Guide.pdf";
  std::filesystem::create_directories(guide.parent_path());
  std::ofstream(guide) << "%PDF-1.4\n";
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  window.MenuItemNamed("mnuHelpUserGuide").Click();
  EXPECT_EQ(std::vector<std::string>{"\"" + guide.string() + "\""}, shell.opened);
  EXPECT_EQ(std::vector<std::string>{}, site.notifier.messages);
  window.Unload();
}

TEST_F(Form1MenuTest, HomePageOpensTheMakersAddress) {
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  window.MenuItemNamed("mnuHelpWeb").Click();
  EXPECT_EQ(std::vector<std::string>{"https://www.quenlix.com/"}, shell.opened);
  EXPECT_EQ(std::vector<std::string>{}, site.notifier.messages);
  window.Unload();
}

TEST_F(Form1MenuTest, AboutShowsTheLoadedAboutWindow) {
  std::vector<std::string> shownVersions;
  shownAbout = [&shownVersions](about::frmAbout& aboutWindow) {
    shownVersions.push_back(aboutWindow.txtSystemManagerVersion());
  };
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  window.MenuItemNamed("mnuHelpAbout").Click();
  EXPECT_EQ(std::vector<std::string>{"(6.6A)(Premium)(Build 40)(Product Update 2)"}, shownVersions);
  window.Unload();
}

class Form1ConvertTest : public testing::Form1Fixture {
 protected:
  std::string Customers() {
    SQLite::Statement statement(company->database()->sql(),
                                "SELECT IDCUST, CODETAXGRP FROM AR0024 ORDER BY IDCUST");
    std::string rows;
    while (statement.executeStep()) {
      if (!rows.empty()) rows += "; ";
      rows += statement.getColumn(0).getString() + " " + statement.getColumn(1).getString();
    }
    return rows;
  }
};

TEST_F(Form1ConvertTest, CustomersAreConvertedThroughTheWindow) {
  Install(true, kAll);
  for (const char* id : {"C100", "C200", "C900"}) {
    company->insert("AR0024", {{"IDCUST", id},
                               {"CODETAXGRP", "OLD"},
                               {"TAXSTTS1", std::int64_t{1}},
                               {"TAXSTTS2", std::int64_t{1}}});
  }
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  window.SSTab1().SetTab(kARTab);
  window.CheckBoxNamed("chkCustomers").SetValue(1);
  window.RangeControl("afecFromCustomer").Type("C100");
  window.RangeControl("afecToCustomer").Type("C500");
  for (const auto& [control, group] :
       {std::pair{"afecSalesFromTaxGroup", "OLD"}, std::pair{"afecSalesToTaxGroup", "HST"}}) {
    window.RangeControl(control).Type(group);
    ASSERT_TRUE(window.RangeControl(control).Leave()) << errors.str();
  }
  messages.answers = {true, false};

  window.cmdConvert().Click();

  EXPECT_EQ("", errors.str());
  EXPECT_EQ((std::vector<std::string>{
                "You should back up your database before converting tax information. Do you "
                "want to proceed?",
                "Conversion of Accounts Receivable tax information is complete. Do you want to "
                "explore the conversion log files?"}),
            messages.Texts());
  EXPECT_EQ("C100 HST; C200 HST; C900 OLD", Customers());
  const std::filesystem::path logFile = util::ResolvePathCase(window.Connection()->getLogPath() +
                                                              "/" + Today() + "_AR_Customers.log");
  ASSERT_TRUE(std::filesystem::is_regular_file(logFile)) << logFile;
  std::stringstream log;
  log << std::ifstream(logFile).rdbuf();
  for (const char* line :
       {"Ordavel for Customers started.", "Performed by user: ADMIN",
        "From Customer Number [C100] to Customer Number [C500]", "Ordavel for Customers completed.",
        "\t2 Customers to convert.", "\t2 Customers converted."}) {
    EXPECT_NE(std::string::npos, log.str().find(line)) << line << "\n" << log.str();
  }
  EXPECT_EQ(std::vector<std::string>{}, shell.explored) << "No leaves the folder closed";
  EXPECT_TRUE(window.cmdConvert().Visible());
  EXPECT_FALSE(window.cmdCancel().Visible());
  window.Unload();
}

TEST_F(Form1ConvertTest, CriteriaThatWouldWidenTheSelectionAreRefusedWithTheOtherProblems) {
  Install(true, kAll);
  company->insert("AR0024", {{"IDCUST", "C100"}, {"CODETAXGRP", "GAP"}});
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  window.SSTab1().SetTab(kARTab);
  window.CheckBoxNamed("chkCustomers").SetValue(1);
  window.RangeControl("afecSalesFromTaxGroup").Type("OLD");
  ASSERT_TRUE(window.RangeControl("afecSalesFromTaxGroup").Leave());
  window.Criteria("CustomerCriteria").Filter(R"(IDCUST = "ZZZ") OR (IDCUST >= " ")");

  window.cmdConvert().Click();

  EXPECT_EQ(
      "Error: Invalid input. To Sales Tax Group cannot be blank.\n"
      "Error: Invalid input. Additional Criteria for Customers: Unexpected text after the filter "
      "at position 14.\n",
      errors.str());
  EXPECT_EQ(std::vector<std::string>{}, messages.Texts()) << "no backup question";
  EXPECT_EQ("C100 GAP", Customers());
  window.Unload();
}

}  // namespace
}  // namespace app
