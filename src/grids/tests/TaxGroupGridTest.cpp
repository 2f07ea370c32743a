#include "grids/TaxGroupGrid.h"

#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace grids {
namespace {

using I = std::int64_t;

// The from sales tax-group mapping of the customer section, set up as the main window does.
class TaxGroupGridTest : public ::testing::Test {
 protected:
  TaxGroupGridTest() {
    mapping.Name("Customer Taxes");
    Prepare(mapping, control, grid, 1);
  }

  // Sets a mapping up on its control and grid for a transaction type and its class type.
  void Prepare(TaxGroupGrid& into, host::FieldEditControl& edit, host::GridControl& rows,
               std::int16_t type) {
    into.Grid(&rows);
    into.adsTXGRP(groups.get());
    into.afecTaxGroup(&edit);
    into.Caption("From Sales Tax Group");
    into.TransactionType(type);
    into.adsTXCLASS(classes.get());
    into.AddTaxClassColumn("Tax Class", 90, type, 1);
  }

  // The operator types a tax group and leaves the control; true when it was accepted.
  bool Enter(const std::string& group) {
    control.Type(group);
    return control.Leave();
  }
  // The grid's rows as "authority class" texts joined by commas.
  std::string GridRows() const {
    std::string rows;
    for (int row = 0; row < grid.RowsCount(); ++row) {
      rows += (row ? ", " : "") + grid.GetCellData(0, row) + " " + grid.GetCellData(1, row);
    }
    return rows;
  }
  // What the error display showed since the last call.
  std::string NewlyShown() {
    const std::string all = company.shownErrors();
    const std::string shown = all.substr(shownBefore_);
    shownBefore_ = all.size();
    return shown;
  }
  // A customer with the tax group and classes given, read into `customers`.
  void ReadCustomer(const std::string& group, const std::vector<I>& taxClasses,
                    const std::vector<std::string>& registrations = {}) {
    erp::testing::FieldValues values{{"IDCUST", std::string("C1")}, {"CODETAXGRP", group}};
    for (size_t n = 0; n < taxClasses.size(); ++n) {
      values.emplace_back("TAXSTTS" + std::to_string(n + 1), taxClasses[n]);
    }
    for (size_t n = 0; n < registrations.size(); ++n) {
      values.emplace_back("IDTAXREGI" + std::to_string(n + 1), registrations[n]);
    }
    company.data().insert("AR0024", values);
    customers->Fields(1).PutWithoutVerification(std::string("C1"));
    ASSERT_TRUE(customers->Read());
    mapping.adsHeader(customers.get());
    mapping.TaxClassFieldPrefix("TAXSTTS");
    mapping.TaxRegistrationFieldPrefix("IDTAXREGI");
  }
  I CustomerClass(int n) const {
    return host::VariantInteger(customers->Fields("TAXSTTS" + std::to_string(n)).Value());
  }

  host::testing::StandinCompany company;
  std::unique_ptr<host::DataSource> groups = company.open("TX0003");
  std::unique_ptr<host::DataSource> classes = company.open("TX0001");
  std::unique_ptr<host::DataSource> customers = company.open("AR0024");
  host::FieldEditControl control;
  host::GridControl grid;
  TaxGroupGrid mapping{[this] { return company.newErrorDisplay(); }};
  size_t shownBefore_ = 0;
};

// A window draws the finder buttons and the read-only authorities from these.
TEST_F(TaxGroupGridTest, TheControlFindsGroupsOfItsTypeAndOnlyTheClassColumnIsEditedWithAFinder) {
  EXPECT_EQ("TX0003", control.ViewFinder().ViewID);
  EXPECT_EQ("TTYPE=1", control.ViewFinder().Filter);
  EXPECT_FALSE(grid.Column(0).editable);
  EXPECT_TRUE(grid.Column(1).editable && grid.Column(1).finder);
}

TEST_F(TaxGroupGridTest, AcceptsOnlyAnExistingGroupAndRebuildsTheRows) {
  auto check = [&](const char* name, const char* typed, bool accepted, const char* shown,
                   const char* value, const char* rows) {
    ASSERT_TRUE(Enter("hst"));
    NewlyShown();
    EXPECT_EQ(accepted, Enter(typed)) << name;
    EXPECT_EQ(shown, NewlyShown()) << name;
    EXPECT_EQ(value, control.Value()) << name;
    EXPECT_EQ(value, control.Tag()) << name;
    EXPECT_EQ(rows, GridRows()) << name;
    EXPECT_TRUE(grid.Enabled()) << name;
  };
  check("TwoAuthorities", "old", true, "", "OLD", "GST 1, PST 1");
  check("StopsAtTheFirstBlankAuthority", "GAP", true, "", "GAP", "GST 1");
  check("BlankRestoresThePrevious", "", false,
        "Error: Invalid input. From Sales Tax Group cannot be blank.\n", "HST", "HST 1");
  check("UnknownRestoresThePrevious", "xyz", false,
        "Error: Invalid input. From Sales Tax Group Tax Group XYZ does not exist.\n", "HST",
        "HST 1");
}

TEST_F(TaxGroupGridTest, ABlankControlWithABlankTagIsAcceptedSilently) {
  EXPECT_TRUE(control.Leave());
  EXPECT_EQ("", company.shownErrors());
  EXPECT_FALSE(mapping.ValidateTaxGroup());
  EXPECT_EQ((std::vector<std::string>{"Invalid input. From Sales Tax Group cannot be blank."}),
            company.errorTexts());
}

TEST_F(TaxGroupGridTest, AGroupOfTheOtherTransactionTypeDoesNotExist) {
  company.data().insert(
      "TX0003", {{"#1", std::string("PUR")}, {"#2", I{2}}, {"AUTHORITY1", std::string("GST")}});
  EXPECT_FALSE(Enter("PUR"));
  mapping.TransactionType(2);
  EXPECT_TRUE(Enter("PUR"));
}

TEST_F(TaxGroupGridTest, TheSameGroupAgainKeepsTheClassesTyped) {
  ASSERT_TRUE(Enter("OLD"));
  ASSERT_TRUE(grid.EditCell(1, 1, "3"));
  EXPECT_TRUE(Enter("OLD"));
  EXPECT_EQ("GST 1, PST 3", GridRows());
  ASSERT_TRUE(Enter("HST"));
  ASSERT_TRUE(Enter("OLD"));
  EXPECT_EQ("GST 1, PST 1", GridRows());
}

TEST_F(TaxGroupGridTest, AnUnknownClassRestoresTheCell) {
  ASSERT_TRUE(Enter("OLD"));
  grid.EditCell(1, 0, "9");
  EXPECT_EQ("1", grid.GetCellData(1, 0));
  EXPECT_EQ("Error: Invalid input. Tax Class 9 does not exist.\n", company.shownErrors());
  EXPECT_TRUE(grid.EditState());
}

// PST class 4 exists for sales item classes only: neither customers' nor vendors' classes know it,
// and a column whose class type and axis were swapped would take it for vendors.
TEST_F(TaxGroupGridTest, AClassOfAnotherClassTypeOrAxisDoesNotExist) {
  for (std::int16_t type : {1, 2}) {
    host::FieldEditControl typeControl;
    host::GridControl typeGrid;
    TaxGroupGrid typeMapping{[this] { return company.newErrorDisplay(); }};
    Prepare(typeMapping, typeControl, typeGrid, type);
    typeControl.Type("OLD");
    ASSERT_TRUE(typeControl.Leave()) << type;
    typeGrid.EditCell(1, 1, "4");
    EXPECT_EQ("1", typeGrid.GetCellData(1, 1)) << type;
  }
  const std::string refused = "Error: Invalid input. Tax Class 4 does not exist.\n";
  EXPECT_EQ(refused + refused, company.shownErrors());
}

TEST_F(TaxGroupGridTest, EnteringTheGridMakesTheFirstRowCurrent) {
  ASSERT_TRUE(Enter("OLD"));
  EXPECT_TRUE(grid.Focus());
  EXPECT_EQ(0, grid.CurrentRow());
}

TEST_F(TaxGroupGridTest, TheDefaultClassIsTheLowestOrNone) {
  company.data().insert("TX0002", {{"#1", std::string("Q\"T")}, {"#7", I{0}}});
  company.data().insert("TX0002", {{"#1", std::string("NOC")}, {"#7", I{0}}});
  for (I taxClass : {3, 2}) {
    company.data().insert(
        "TX0001", {{"#1", std::string("Q\"T")}, {"#2", I{1}}, {"#3", I{1}}, {"#4", taxClass}});
  }
  company.data().insert("TX0003", {{"#1", std::string("QN")},
                                   {"#2", I{1}},
                                   {"AUTHORITY1", std::string("Q\"T")},
                                   {"AUTHORITY2", std::string("NOC")}});
  classes->Fields(1).PutWithoutVerification(std::string("Q\"T"));
  classes->Fields(2).PutWithoutVerification(I{1});
  classes->Fields(3).PutWithoutVerification(I{1});
  classes->Fields(4).PutWithoutVerification(I{3});
  ASSERT_TRUE(classes->Read());
  ASSERT_TRUE(Enter("QN"));
  EXPECT_EQ("Q\"T 2, NOC ", GridRows());
}

TEST_F(TaxGroupGridTest, ClassesMatchNumericallyWithNothingBeyondTheRows) {
  ASSERT_TRUE(Enter("HST"));
  auto check = [&](const std::string& cell, const std::vector<I>& recorded, bool expected) {
    company.data().database()->sql().exec("DELETE FROM \"AR0024\"");
    ReadCustomer("HST", recorded);
    grid.SetCellData(1, 0, cell);
    EXPECT_EQ(expected, mapping.TaxClassesMatch()) << cell << " " << recorded.size();
  };
  check("1", {1, 0, 0, 0, 0}, true);
  check("01", {1}, true);
  check("1", {2}, false);
  check("1", {1, 1}, false);
  check("1", {1, 0, 0, 0, 3}, false);
  check("", {0}, true);
  check("", {1}, false);
  check("x", {0}, false);
}

TEST_F(TaxGroupGridTest, PutTaxClassesWritesTheRowsAndZeroBeyond) {
  ASSERT_TRUE(Enter("HST"));
  grid.SetCellData(1, 0, "2");
  ReadCustomer("OLD", {3, 3, 1, 1, 1});
  customers->Fields("CODETAXGRP").PutWithVerification(std::string("HST"));
  mapping.PutTaxClasses();
  EXPECT_EQ((std::vector<I>{2, 0, 0, 0, 0}),
            (std::vector<I>{CustomerClass(1), CustomerClass(2), CustomerClass(3), CustomerClass(4),
                            CustomerClass(5)}));
  EXPECT_TRUE(mapping.TaxClassesMatch());
}

TEST_F(TaxGroupGridTest, RegistrationsAreRenumberedUpToTheFirstMissingClass) {
  ASSERT_TRUE(Enter("OLD"));
  ReadCustomer("OLD", {1, 2, 0, 1}, {"", "R2", "R3", "R4"});
  mapping.GetTaxRegistrations();
  EXPECT_EQ("PST", mapping.GetTaxRegistrationAuthority(1));
  EXPECT_EQ("2", mapping.GetTaxRegistrationClass(1));
  EXPECT_EQ("R2", mapping.GetTaxRegistrationID(1));
  EXPECT_EQ((TaxGroupGrid::Registrations{"R2", "", "", "", ""}), mapping.TaxRegistrationIDs());
  EXPECT_THROW(mapping.GetTaxRegistrationID(0), std::out_of_range);
  EXPECT_THROW(mapping.GetTaxRegistrationID(6), std::out_of_range);

  mapping.TaxRegistrationFieldPrefix("");
  customers->Fields("IDTAXREGI2").PutWithoutVerification(std::string("NEW"));
  mapping.GetTaxRegistrations();
  EXPECT_EQ("R2", mapping.GetTaxRegistrationID(1));
}

TEST_F(TaxGroupGridTest, TheHeaderResetsTheKindsSettingsAndTheFilterTheCounters) {
  mapping.TaxClassFieldPrefix("TAXSTTS");
  mapping.Filter("X");
  mapping.lRecords(3);
  mapping.adsHeader(customers.get());
  EXPECT_EQ("", mapping.TaxClassFieldPrefix());
  EXPECT_EQ("", mapping.Filter());
  EXPECT_EQ(0, mapping.lRecords());
  mapping.lSkipped(5);
  mapping.Filter("Y");
  EXPECT_EQ(0, mapping.lSkipped());
}

TEST(TaxGroupGridWithoutGrid, AlwaysMatchesAndWritesNothing) {
  host::testing::StandinCompany company;
  auto groups = company.open("TX0003");
  auto customers = company.open("AR0024");
  host::FieldEditControl control;
  TaxGroupGrid mapping([&company] { return company.newErrorDisplay(); });
  mapping.Grid(nullptr);
  mapping.adsTXGRP(groups.get());
  mapping.afecTaxGroup(&control);
  company.data().insert("AR0024", {{"IDCUST", std::string("C1")},
                                   {"CODETAXGRP", std::string("OLD")},
                                   {"TAXSTTS1", I{2}},
                                   {"TAXSTTS2", I{3}}});
  customers->Fields(1).PutWithoutVerification(std::string("C1"));
  ASSERT_TRUE(customers->Read());
  mapping.adsHeader(customers.get());
  mapping.TaxClassFieldPrefix("TAXSTTS");
  control.Type("HST");
  EXPECT_TRUE(control.Leave());
  EXPECT_TRUE(mapping.TaxClassesMatch());
  mapping.PutTaxClasses();
  EXPECT_FALSE(customers->PendingChanges());
}

}  // namespace
}  // namespace grids
