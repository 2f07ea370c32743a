#include "app/Form1.h"

#include "app/Layout.h"
#include "app/tests/testsupport/Form1Fixture.h"
#include "convert/AuthorityColumns.h"

#include <gtest/gtest.h>

namespace app {
namespace {

class Form1Test : public testing::Form1Fixture {};

TEST_F(Form1Test, LoadNamesTheCompanyOpensEverySourcePreparesTheRangesAndBindsTheCriteria) {
  Install(true, kAll);
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  EXPECT_EQ("SAMLTD - Ordavel", window.Caption());
  const host::FieldEditControl& to = window.RangeControl("afecToCustomer");
  EXPECT_EQ(std::string(static_cast<std::size_t>(window.Source("adsARCUS").Fields(1).Size()), 'Z'),
            to.Value());
  EXPECT_EQ("", window.RangeControl("afecFromCustomer").Value());
  EXPECT_EQ("Customer", to.LeftLabel());
  EXPECT_EQ("Bank Distribution Code",
            window.RangeControl("afecFromBankDistributionCode").LeftLabel());
  EXPECT_FALSE(to.Enabled());
  for (const convert::SourceDef& def : convert::AllSources()) {
    EXPECT_TRUE(window.Source(def.name).IsOpen()) << def.name;
  }
  // Each kind's additional criteria sit on the first "to" control of its check box.
  for (const convert::KindDef& def : convert::Kinds()) {
    EXPECT_EQ(&window.RangeControl(def.ranges.front().to),
              window.Criteria(def.criteria).EditControl())
        << def.criteria;
  }
  window.Unload();
}

TEST_F(Form1Test, UnreadableSiteConfigurationEndsWithItsMessage) {
  Install(false, kAll);
  EXPECT_FALSE(Window().Load());
  EXPECT_EQ(std::vector<std::string>{"You do not have access to the Sage 300 shared data folder, "
                                     "which is required, to run Ordavel."},
            messages.Texts());
}

TEST_F(Form1Test, CancelledSignOnEndsSilently) {
  Install(true, kAll);
  prompt.answers = {std::nullopt};
  EXPECT_FALSE(Window().Load());
  EXPECT_EQ(std::vector<std::string>{}, messages.Texts());
}

TEST_F(Form1Test, NotInstalledEndsWithTheCriticalMessageBeforeTheSignOn) {
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
  EXPECT_EQ(nullptr, window.Connection());
  EXPECT_EQ(2, reads);
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

TEST_F(Form1Test, CheckBoxesEnableTheirRangesAndTheSharedControlsHiddenOrNot) {
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

  // Pairs the options hide follow their boxes all the same.
  for (const auto& [box, from, to] :
       {std::tuple{"chkRecurringCharges", "afecFromChargeCodeCustomer", "afecToChargeCodeCustomer"},
        std::tuple{"chkItemPricingTaxes", "afecFromItemPriceCurrency", "afecToItemPriceCurrency"},
        std::tuple{"chkOEMiscCharges", "afecFromMiscChargeCurrency", "afecToMiscChargeCurrency"},
        std::tuple{"chkPOAdditionalCosts", "afecFromAdditionalCostCurrency",
                   "afecToAdditionalCostCurrency"}}) {
    ASSERT_FALSE(window.RangeControl(from).Visible()) << from;
    window.CheckBoxNamed(box).SetValue(1);
    EXPECT_TRUE(enabled(from) && enabled(to)) << from;
    window.CheckBoxNamed(box).SetValue(0);
    EXPECT_FALSE(enabled(from) || enabled(to)) << from;
  }
  window.Unload();
}

// The columns --list and --skeleton give for a row are those of the window's grids.
TEST_F(Form1Test, TheListedRowColumnsAreTheWindowsOwn) {
  Install(true, kAll);
  Form1& window = Window();
  ASSERT_TRUE(window.Load());
  for (const convert::MappingDef& def : convert::Mappings()) {
    if (def.type != convert::ConversionType::TaxAuthority) continue;
    host::GridControl& grid = window.GridControlNamed(def.gridControl);
    std::vector<std::string> captions;
    for (int column = 0; column < grid.ColumnCount(); ++column) {
      captions.push_back(grid.Column(column).caption);
    }
    EXPECT_EQ(captions, convert::RowColumns(def.grid)) << def.grid;
  }
  window.Unload();
}

}  // namespace
}  // namespace app
