#include "convert/TargetProcedures.h"

#include "convert/tests/ConversionFixture.h"

#include <SQLiteCpp/Statement.h>

#include <map>
#include <stdexcept>

namespace convert::testing {
namespace {

using I = std::int64_t;

template <typename T>
T& Lookup(const std::map<std::string, T*>& table, const std::string& name) {
  auto it = table.find(name);
  if (it == table.end()) throw std::out_of_range("No control is named " + name + ".");
  return *it->second;
}

/// The main window's names resolved from maps that a test fills.
class FakeKindControls : public KindControls {
 public:
  host::FieldEditControl& RangeControl(const std::string& name) override {
    return Lookup(controls, name);
  }
  host::DataSource& Source(const std::string& name) override { return Lookup(sources, name); }
  grids::TaxGroupGrid& TaxGroupGridNamed(const std::string& name) override {
    return Lookup(taxGroupGrids, name);
  }
  grids::TaxAuthorityGrid& TaxAuthorityGridNamed(const std::string& name) override {
    return Lookup(authorityGrids, name);
  }
  grids::CriteriaField& Criteria(const std::string& name) override {
    return Lookup(criteriaFields, name);
  }

  std::map<std::string, host::FieldEditControl*> controls;
  std::map<std::string, host::DataSource*> sources;
  std::map<std::string, grids::TaxGroupGrid*> taxGroupGrids;
  std::map<std::string, grids::TaxAuthorityGrid*> authorityGrids;
  std::map<std::string, grids::CriteriaField*> criteriaFields;
};

/// A stand-in company with the main window's names resolved through a fake.
class TargetProceduresTest : public ConversionFixture {
 protected:
  /// Opens the view as the named data source (a detail when `parent` is given).
  host::DataSource& source(const std::string& name, const std::string& viewId,
                           host::DataSource* parent = nullptr) {
    sources_.push_back(company.open(viewId, parent));
    controls.sources[name] = sources_.back().get();
    return *sources_.back();
  }

  /// A range control defined like a header field, holding `value`, under `name`.
  host::FieldEditControl& range(const std::string& name, const std::string& sourceName, int field,
                                const std::string& value) {
    edits_.push_back(rangeControl(*controls.sources.at(sourceName), field, value));
    controls.controls[name] = edits_.back().get();
    return *edits_.back();
  }

  /// A criteria field without extra filter on the named control and data source.
  void noCriteria(const std::string& name, const std::string& control, const std::string& src) {
    criteria_.push_back(criteria(*controls.controls.at(control), *controls.sources.at(src), ""));
    controls.criteriaFields[name] = criteria_.back().get();
  }

  /// The log's lines that show a range.
  std::vector<std::string> rangeLines(const std::string& logName) {
    std::vector<std::string> lines;
    std::string text = log(logName);
    for (size_t at = 0; (at = text.find("<stamp> From ", at)) != std::string::npos;) {
      size_t end = text.find("\r\n", at);
      std::string line = text.substr(at + 8, end - at - 8);
      if (line.find("] to ") != std::string::npos) lines.push_back(line);
      at = end;
    }
    return lines;
  }

  std::string query(const std::string& sql) {
    SQLite::Statement statement(company.data().database()->sql(), sql);
    std::string rows;
    while (statement.executeStep()) {
      for (int i = 0; i < statement.getColumnCount(); ++i) {
        rows += (i ? " " : rows.empty() ? "" : "; ") + statement.getColumn(i).getString();
      }
    }
    return rows;
  }

  FakeKindControls controls;

 private:
  std::vector<std::unique_ptr<host::DataSource>> sources_;
  std::vector<std::unique_ptr<host::FieldEditControl>> edits_;
  std::vector<std::unique_ptr<grids::CriteriaField>> criteria_;
};

TEST_F(TargetProceduresTest, FiltersQuoteEveryValueExactly) {
  source("adsARCUS", "AR0024");
  source("adsICITEM", "IC0310");
  const KindDef& customers = KindTargetOf("ConvertCustomers");
  range("afecSalesFromTaxGroup", "adsARCUS", 38, "GST");
  auto customerFilter = [&](const std::string& from, const std::string& to) {
    range("afecFromCustomer", "adsARCUS", 1, from);
    range("afecToCustomer", "adsARCUS", 1, to);
    return BuildKindFilter(customers, controls);
  };
  EXPECT_EQ(R"((IDCUST>="1000 ") AND (IDCUST<="2000 ") AND (CODETAXGRP= "GST "))",
            customerFilter("1000", "2000"));
  EXPECT_EQ(R"((IDCUST>=" ") AND (IDCUST<="2000 ") AND (CODETAXGRP= "GST "))",
            customerFilter("", "2000"))
      << "an empty from value";
  EXPECT_EQ(R"((IDCUST>="A\"B ") AND (IDCUST<="ZZ\"\" ") AND (CODETAXGRP= "GST "))",
            customerFilter("A\"B", "ZZ\"\""))
      << "quotes in values";
  EXPECT_EQ(R"((IDCUST>="END\ ") AND (IDCUST<="2000 ") AND (CODETAXGRP= "GST "))",
            customerFilter("END\\", "2000"))
      << "a trailing backslash cannot escape the closing quote";
  host::FieldEditControl typed;
  typed.SetValue("10  ");
  controls.controls["afecFromCustomer"] = &typed;
  EXPECT_EQ(R"((IDCUST>="10   ") AND (IDCUST<="2000 ") AND (CODETAXGRP= "GST "))",
            BuildKindFilter(customers, controls))
      << "trailing blanks kept as the control holds them";

  const KindDef& items = KindTargetOf("ConvertItems");
  auto itemFilter = [&](const std::string& from, const std::string& to) {
    range("afecFromItem", "adsICITEM", 7, from);
    range("afecToItem", "adsICITEM", 7, to);
    return BuildKindFilter(items, controls);
  };
  EXPECT_EQ(R"((ITEMNO>="A100 ") AND (ITEMNO<="B2C3 "))", itemFilter("a-100", "b2.c(3)"))
      << "item numbers unformatted";
  EXPECT_EQ(R"((ITEMNO>=" ") AND (ITEMNO<="ZZ "))", itemFilter("", "ZZ"))
      << "an empty item number stays empty";
}

TEST_F(TargetProceduresTest, RecurringPayablesFilterOnVendorsBeforeCodes) {
  source("adsAPRPH", "AP0064");
  range("afecFromPayableCodeVendor", "adsAPRPH", 1, "1000");
  range("afecToPayableCodeVendor", "adsAPRPH", 1, "1999");
  range("afecFromPayableCode", "adsAPRPH", 2, "A");
  range("afecToPayableCode", "adsAPRPH", 2, "M");
  range("afecPurchasesFromTaxGroup", "adsAPRPH", 26, "GSTP");
  EXPECT_EQ(R"((IDVEND>="1000 ") AND (IDVEND<="1999 ") AND (IDRECURR>="A ") AND )"
            R"((IDRECURR<="M ") AND (TAXGRP= "GSTP "))",
            BuildKindFilter(KindTargetOf("ConvertRecurringPayables"), controls));
}

TEST_F(TargetProceduresTest, AnUnknownControlNameEndsTheFilter) {
  EXPECT_THROW(BuildKindFilter(KindTargetOf("ConvertBanks"), controls), std::out_of_range);
}

/// The sales mapping of the AR tab, customers and customer groups bound as the window binds them.
class SalesTargetTest : public TargetProceduresTest {
 protected:
  void SetUp() override {
    auto customer = [this](const char* id, const char* group, I class1, I class2,
                           const char* registration) {
      company.data().insert("AR0024", {{"IDCUST", id},
                                       {"CODETAXGRP", group},
                                       {"TAXSTTS1", class1},
                                       {"TAXSTTS2", class2},
                                       {"IDTAXREGI1", registration}});
    };
    customer("A\"1", "OLD", 1, 1, "REG-1");
    customer("A\"2", "OLD", 2, 1, "");
    customer("B100", "OLD", 1, 1, "");
    company.data().insert(
        "AR0025", {{"IDGRP", "G1"}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", I{1}}, {"TAXSTTS2", I{1}}});
    company.data().insert(
        "AR0025", {{"IDGRP", "G2"}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", I{1}}, {"TAXSTTS2", I{1}}});
    source("adsARCUS", "AR0024");
    source("adsARGRO", "AR0025");
    from = taxGroupMapping("From Sales Tax Group", 1, "OLD");
    to = taxGroupMapping("To Sales Tax Group", 1, "HST");
    controls.taxGroupGrids["SalesFromGrid"] = from->mapping.get();
    controls.taxGroupGrids["SalesToGrid"] = to->mapping.get();
    controls.controls["afecSalesFromTaxGroup"] = &from->edit;
    range("afecFromCustomer", "adsARCUS", 1, "A\"1");
    range("afecToCustomer", "adsARCUS", 1, "A\"9");
    noCriteria("CustomerCriteria", "afecToCustomer", "adsARCUS");
    range("afecFromCustomerGroup", "adsARGRO", 1, "");
    range("afecToCustomerGroup", "adsARGRO", 1, "G1");
    noCriteria("CustomerGroupCriteria", "afecToCustomerGroup", "adsARGRO");
  }

  std::unique_ptr<TaxGroupMapping> from;
  std::unique_ptr<TaxGroupMapping> to;
};

TEST_F(SalesTargetTest, CustomersAreConvertedWithTheRangeShownUnescaped) {
  RunTaxGroupTarget(KindTargetOf("ConvertCustomers"), controls, *engine);
  EXPECT_EQ(R"((IDCUST>="A\"1 ") AND (IDCUST<="A\"9 ") AND (CODETAXGRP= "OLD "))",
            from->mapping->Filter());
  EXPECT_EQ(std::vector<std::string>{"From Customer Number [A\"1] to Customer Number [A\"9]"},
            rangeLines("AR_Customers"));
  std::string log = this->log("AR_Customers");
  EXPECT_NE(std::string::npos, log.find("Convert Customers A\"1 succeeded.\r\n<stamp> \tHST-1, "
                                        "Registration Number = REG-1\r\n"))
      << log;
  EXPECT_NE(std::string::npos, log.find("Convert Customers A\"2 skipped.")) << log;
  EXPECT_EQ("A\"1 HST 1 0; A\"2 OLD 2 1; B100 OLD 1 1",
            query("SELECT IDCUST, CODETAXGRP, TAXSTTS1, TAXSTTS2 FROM AR0024 ORDER BY IDCUST"));
}

TEST_F(SalesTargetTest, CustomerGroupsAfterCustomersStartFromAClearedGrid) {
  RunTarget(KindTargetOf("ConvertCustomers"), controls, *engine);
  EXPECT_EQ("IDTAXREGI", from->mapping->TaxRegistrationFieldPrefix());
  RunTarget(KindTargetOf("ConvertCustomerGroups"), controls, *engine);
  grids::TaxGroupGrid& mapping = *from->mapping;
  EXPECT_EQ("", mapping.TaxRegistrationFieldPrefix());
  EXPECT_EQ("", to->mapping->TaxRegistrationFieldPrefix());
  EXPECT_EQ(R"((IDGRP>=" ") AND (IDGRP<="G1 ") AND (CODETAXGRP= "OLD "))", mapping.Filter());
  EXPECT_EQ(35, mapping.lTaxGroupIDX());
  EXPECT_EQ(1, to->mapping->lRecords()) << "the to grid counts the kind";
  EXPECT_EQ(1, to->mapping->lUpdated());
  EXPECT_EQ(0, to->mapping->lSkipped());
  EXPECT_EQ(std::vector<std::string>{"From Group Code [] to Group Code [G1]"},
            rangeLines("AR_Customer_Groups"));
  EXPECT_EQ("G1 HST 1 0; G2 OLD 1 1",
            query("SELECT IDGRP, CODETAXGRP, TAXSTTS1, TAXSTTS2 FROM AR0025 ORDER BY IDGRP"));
  EXPECT_EQ(2, state.lTotalUpdated);
  EXPECT_EQ(1, state.lTotalSkipped);
}

/// A tax-authority grid set up as start-up adds its columns.
class AuthorityTargetTest : public TargetProceduresTest {
 protected:
  grids::TaxAuthorityGrid& authorityGrid(const std::string& name) {
    grid = std::make_unique<grids::TaxAuthorityGrid>([this] { return company.newErrorDisplay(); });
    grid->Name(name);
    grid->Grid(&cells);
    grid->adsTXAUTH(txauth.get());
    grid->adsTXCLASS(txclass.get());
    controls.authorityGrids[name] = grid.get();
    return *grid;
  }

  void setRows(const std::vector<std::vector<std::string>>& rows) {
    cells.SetRowsCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
      for (size_t c = 0; c < rows[r].size(); ++c) {
        cells.SetCellData(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
      }
    }
  }

  host::GridControl cells;
  std::unique_ptr<grids::TaxAuthorityGrid> grid;
};

TEST_F(AuthorityTargetTest, ItemsAreFilteredUnformattedAndTheirSalesAndPurchasesClassesKept) {
  for (const char* item : {"A100", "A200", "B100"}) {
    company.data().insert("IC0310", {{"ITEMNO", item}, {"FMTITEMNO", item}});
    company.data().insert("IC0330",
                          {{"ITEMNO", item}, {"AUTHORITY", "GST"}, {"#4", I{1}}, {"#3", I{2}}});
  }
  host::DataSource& items = source("adsICITEM", "IC0310");
  source("adsICITMTX", "IC0330", &items);
  grids::TaxAuthorityGrid& icItems = authorityGrid("ICItemsGrid");
  icItems.AddFromTaxClassColumn("From Sales Tax Class", 137, 1, 2);
  icItems.AddFromTaxClassColumn("From Purchases Tax Class", 161, 2, 2);
  icItems.AddToTaxClassColumn("To Sales Tax Class", 128, 1, 2);
  icItems.AddToTaxClassColumn("To Purchases Tax Class", 152, 2, 2);
  setRows({{"Update", "GST", "1", "2", "3", "1"}});
  range("afecFromItem", "adsICITEM", 7, "a-100");
  range("afecToItem", "adsICITEM", 7, "a.200");
  noCriteria("ItemCriteria", "afecToItem", "adsICITEM");

  RunTaxAuthorityTarget(KindTargetOf("ConvertItems"), controls, *engine);

  EXPECT_EQ(R"((ITEMNO>="A100 ") AND (ITEMNO<="A200 "))", icItems.Filter());
  EXPECT_EQ(std::vector<std::string>{"From Item Number [a-100] to Item Number [a.200]"},
            rangeLines("IC_Items"));
  EXPECT_EQ("A100 3 1; A200 3 1; B100 1 2",
            query("SELECT ITEMNO, SALESCLASS, PURCHCLASS FROM IC0330 ORDER BY ITEMNO"));
  EXPECT_EQ(2, icItems.lUpdated());
}

TEST_F(AuthorityTargetTest, BankDistributionCodesGetTheirTaxIncludedPosition) {
  host::DataSource& codes = source("adsBKTT", "BK0003");
  source("adsBKTTX", "BK0860", &codes);
  grids::TaxAuthorityGrid& distribution = authorityGrid("BKDistributionCodesGrid");
  int fromColumn = distribution.AddFromTaxClassColumn("From Tax Class", 109, 1, 2);
  int toColumn = distribution.AddToTaxClassColumn("To Tax Class", 99, 1, 2);
  int included = distribution.AddTaxIncludedColumn("Tax Included", 80);
  range("afecFromBankDistributionCode", "adsBKTT", 1, "");
  range("afecToBankDistributionCode", "adsBKTT", 1, "ZZ");
  noCriteria("DistributionCodeCriteria", "afecToBankDistributionCode", "adsBKTT");

  RunTarget(KindTargetOf("ConvertBankDistributionCodes"), controls, *engine);

  EXPECT_EQ(2, distribution.lAuhorityIDX());
  EXPECT_EQ(3, distribution.GetTaxClassFromField(fromColumn)->IDX);
  EXPECT_EQ(3, distribution.GetTaxClassToField(toColumn)->IDX);
  EXPECT_EQ(4, distribution.GetTaxIncludedField(included)->IDX);
  EXPECT_EQ(&codes, distribution.adsHeader());
}

TEST_F(AuthorityTargetTest, AGridWithoutTheKindsClassColumnsEndsTheRun) {
  host::DataSource& codes = source("adsBKTT", "BK0003");
  source("adsBKTTX", "BK0860", &codes);
  authorityGrid("BKDistributionCodesGrid").AddFromTaxClassColumn("From Tax Class", 109, 1, 2);
  range("afecFromBankDistributionCode", "adsBKTT", 1, "");
  range("afecToBankDistributionCode", "adsBKTT", 1, "ZZ");
  noCriteria("DistributionCodeCriteria", "afecToBankDistributionCode", "adsBKTT");
  EXPECT_THROW(RunTarget(KindTargetOf("ConvertBankDistributionCodes"), controls, *engine),
               std::logic_error);
}

/// Item pricing, whose currency range is shown only in a multicurrency company.
class ItemPricingTargetTest : public AuthorityTargetTest,
                              public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    host::DataSource& prices = source("adsICPRIC", "IC0480");
    source("adsICPRTX", "IC0490", &prices);
    source("adsICITEM", "IC0310");
    grids::TaxAuthorityGrid& pricing = authorityGrid("ICItemPricesGrid");
    pricing.AddFromTaxClassColumn("From Customer Tax Class", 160, 1, 2);
    pricing.AddToTaxClassColumn("To Customer Tax Class", 154, 1, 2);
    range("afecFromItemPrice", "adsICPRIC", 2, "");
    range("afecToItemPrice", "adsICPRIC", 2, "zz");
    range("afecFromItemPriceList", "adsICPRIC", 3, "");
    range("afecToItemPriceList", "adsICPRIC", 3, "ZZ");
    range("afecFromItemPriceCurrency", "adsICPRIC", 1, "").SetVisible(GetParam());
    range("afecToItemPriceCurrency", "adsICPRIC", 1, "ZZZ").SetVisible(GetParam());
    noCriteria("ItemPricingCriteria", "afecToItemPrice", "adsICPRIC");
  }
};

INSTANTIATE_TEST_SUITE_P(CurrencyShownOrHidden, ItemPricingTargetTest, ::testing::Bool(),
                         [](const auto& shown) {
                           return shown.param ? "CurrencyShown" : "CurrencyHidden";
                         });

TEST_P(ItemPricingTargetTest, CurrencyAlwaysFiltersButIsLoggedOnlyWhenShown) {
  RunTaxAuthorityTarget(KindTargetOf("ConvertItemPricing"), controls, *engine);
  EXPECT_EQ(R"((ITEMNO>=" ") AND (ITEMNO<="ZZ ") AND (PRICELIST>=" ") AND (PRICELIST<="ZZ ") )"
            R"(AND (CURRENCY>=" ") AND (CURRENCY<="ZZZ "))",
            grid->Filter());
  std::vector<std::string> expected = {
      "From Unformatted Item Number [] to Unformatted Item Number [zz]",
      "From Price List Code [] to Price List Code [ZZ]"};
  if (GetParam()) expected.push_back("From Currency Code [] to Currency Code [ZZZ]");
  EXPECT_EQ(expected, rangeLines("IC_Item_Pricing"));
  EXPECT_EQ(6, grid->GetTaxClassFromField(grid->TaxClassFieldsFrom().Columns()[0])->IDX);
}

}  // namespace
}  // namespace convert::testing
