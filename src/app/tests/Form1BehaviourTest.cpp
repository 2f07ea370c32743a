#include "app/Form1.h"

#include "about/tests/testsupport/Fakes.h"
#include "app/tests/testsupport/Form1Fixture.h"
#include "platform/tests/testsupport/TempFolder.h"
#include "platform/tests/testsupport/TestData.h"

#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace app {
namespace {

using testing::kARTab;

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
  for (const char* name : {"afecFromChargeCodeCustomer", "afecToChargeCodeCustomer"}) {
    EXPECT_EQ(GetParam().customerPairShown, window.RangeControl(name).Visible()) << name;
  }
  for (const char* name : {"afecFromItemPriceCurrency", "afecToItemPriceCurrency",
                           "afecFromMiscChargeCurrency", "afecToMiscChargeCurrency",
                           "afecFromAdditionalCostCurrency", "afecToAdditionalCostCurrency"}) {
    EXPECT_EQ(GetParam().currencyPairsShown, window.RangeControl(name).Visible()) << name;
  }
  EXPECT_TRUE(window.RangeControl("afecFromChargeCode").Visible());
  EXPECT_TRUE(window.RangeControl("afecFromItemPriceList").Visible());
  window.Unload();
}

// One option on and the other off tells each option's pairs apart; both off or both on adds
// nothing to that.
INSTANTIATE_TEST_SUITE_P(
    Options, Form1OptionTest,
    ::testing::Values(OptionCase{"OnlyRecurringChargesByCustomer", 1, 0, true, false},
                      OptionCase{"OnlyMulticurrency", 0, 1, false, true},
                      OptionCase{"NoOptionRecords", std::nullopt, std::nullopt, false, false}),
    [](const ::testing::TestParamInfo<OptionCase>& param) { return param.param.name; });

class Form1BehaviourTest : public testing::Form1Fixture {};

TEST_F(Form1BehaviourTest, TypedItemNumbersAreShownFormatted) {
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

TEST_F(Form1BehaviourTest, EachMenuItemDoesItsJob) {
  Install(true, kAll);
  about::testing::FixedVersionTexts versions;
  about::testing::FixedSiteReader siteReader;
  about::testing::FakePointer pointer;
  about::testing::FakeTimer timers[2];
  const about::AboutServices services{versions,  siteReader, pointer,      timers[0],
                                      timers[1], shell,      site.notifier};
  aboutServices = &services;
  std::vector<std::string> shownVersions;
  shownAbout = [&shownVersions](about::frmAbout& aboutWindow) {
    shownVersions.push_back(aboutWindow.txtSystemManagerVersion());
  };
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  auto click = [&window](const char* item) { window.MenuItemNamed(item).Click(); };

  click("mnuFileLogFiles");
  EXPECT_EQ(
      std::vector<std::string>{"\"" + site.sharedData().string() + "/Company/SAMLTD/Ordavel\""},
      shell.explored);
  const std::filesystem::path guide = site.programs() / "Documentation" / "Ordavel User Guide.pdf";
  click("mnuHelpUserGuide");
  EXPECT_EQ(std::vector<std::string>{guide.string() + " does not exist."}, site.notifier.messages);
  std::filesystem::create_directories(guide.parent_path());
  platform::testing::WriteFile(guide, "%PDF-1.4\n");
  click("mnuHelpUserGuide");
  click("mnuHelpWeb");
  EXPECT_EQ((std::vector<std::string>{"\"" + guide.string() + "\"", "https://www.quenlix.com/"}),
            shell.opened);
  click("mnuHelpAbout");
  EXPECT_EQ(std::vector<std::string>{"(6.6A)(Premium)(Build 40)(Product Update 2)"}, shownVersions);
  EXPECT_EQ(1u, site.notifier.messages.size());
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
  // The log is named by the day the run started, which may not be today.
  std::vector<std::filesystem::path> logs;
  for (const auto& entry :
       std::filesystem::directory_iterator(site.sharedData() / "Company" / "SAMLTD" / "Ordavel")) {
    if (entry.path().string().ends_with("_AR_Customers.log")) logs.push_back(entry.path());
  }
  ASSERT_EQ(1u, logs.size());
  EXPECT_EQ(platform::testing::TestData("src/app/tests/data/customers.log"),
            platform::testing::MaskStamps(platform::testing::ReadFile(logs[0])));
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
