#include "convert/Conversion.h"

#include "convert/TabChecks.h"
#include "convert/tests/ConversionFixture.h"
#include "host/standin/StandinDataSource.h"
#include "util/ResolvePathCase.h"

#include <filesystem>
#include <functional>

namespace convert::testing {
namespace {

using I = std::int64_t;

/// Requests of customers, A"1 on OLD 1,1 and A"2 on OLD 2,1, run on the company's own data
/// sources without a window.
class ConversionTest : public ConversionFixture {
 protected:
  ConversionTest() {
    for (const auto& [id, class1] : {std::pair{"A\"1", I{1}}, std::pair{"A\"2", I{2}}}) {
      company.data().insert(
          "AR0024",
          {{"IDCUST", id}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", class1}, {"TAXSTTS2", I{1}}});
    }
    request.file = "job.ini";
    request.tab = 1;
    request.kinds["chkCustomers"] = {5, true, {{"afecToCustomer", {"B", 7}}}, {}};
    request.taxGroups["SalesFromGrid"] = {8, {"OLD", 9}, {"1", "1"}, 10};
    request.taxGroups["SalesToGrid"] = {11, {"HST", 12}, {}, 0};
  }

  ConversionRequest request;
  host::standin::StandinDataSourceFactory factory;
};

TEST_F(ConversionTest, ARequestInAResultOut) {
  Conversion conversion(company.connection(), factory, request, Claims::Take);
  ASSERT_TRUE(conversion.Accepted()) << ::testing::PrintToString(conversion.CheckProblems());
  const ConversionResult result = conversion.Run(observer);
  EXPECT_EQ(RunEnd::Finished, result.end);
  ASSERT_EQ(1u, result.kinds.size());
  EXPECT_EQ("Customers", result.kinds[0].description);
  EXPECT_EQ((KindCounts{2, 1, 1, 0}), result.kinds[0].outcome.counts);
  EXPECT_EQ(1, result.totalSkipped);
  EXPECT_FALSE(result.Complete()) << "a skipped record";
  EXPECT_TRUE(std::filesystem::exists(result.changeFile));
  EXPECT_EQ(2.0f, progress.Max()) << "the observer saw the count";
  EXPECT_NE(std::string::npos, log("AR_Customers").find(" [] to Customer Number [B]"))
      << log("AR_Customers");
}

// Once the claim file is gone another run may claim the kind, so this one undoes its open batch
// and ends the kind before it commits again.
TEST_F(ConversionTest, AClaimLostDuringTheRunEndsTheKindBeforeItsNextCommit) {
  company.data().insert(
      "AR0024", {{"IDCUST", "B1"}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", I{1}}, {"TAXSTTS2", I{1}}});
  request.kinds["chkCustomers"].ranges["afecToCustomer"].text = "Z";
  request.recordsPerCommit = 1;
  const std::filesystem::path lock =
      util::ResolvePathCase(company.connection().getLogPath()) / ".AR_Customers.lock";
  struct AfterCommit : RunObserver {
    void BatchCommitted() override { action(); }
    std::function<void()> action;
  } afterFirstCommit;
  afterFirstCommit.action = [&] { std::filesystem::remove(lock); };
  Conversion conversion(company.connection(), factory, request, Claims::Take);
  ASSERT_TRUE(conversion.Accepted()) << ::testing::PrintToString(conversion.CheckProblems());
  EXPECT_EQ(1, conversion.Run(afterFirstCommit).kindsFailed);
  auto groupOf = [this](const std::string& id) {
    return company.data()
        .database()
        ->sql()
        .execAndGet("SELECT RTRIM(CODETAXGRP) FROM AR0024 WHERE IDCUST = '" + id + "'")
        .getString();
  };
  EXPECT_EQ("HST", groupOf("A\"1"));
  EXPECT_EQ("OLD", groupOf("B1")) << "converted after the claim was lost";
  EXPECT_NE(std::string::npos,
            log("AR_Customers").find("This run's claim on AR_Customers was lost"))
      << log("AR_Customers");
}

// What the controls refuse names the file and line of the value; what the checks refuse is told
// as the window tells it.
TEST_F(ConversionTest, RefusalsSayWhereTheyComeFrom) {
  request.taxGroups["SalesFromGrid"].classes = {"1"};
  Conversion entered(company.connection(), factory, request, Claims::Leave);
  EXPECT_EQ(std::vector<std::string>{"job.ini:10: Classes of [SalesFromGrid] gives 1 classes, but "
                                     "tax group OLD has 2 authorities, one class each: GST, PST."},
            entered.EntryProblems());
  EXPECT_FALSE(entered.Accepted());

  request.taxGroups["SalesFromGrid"].classes.clear();
  request.kinds["chkCustomers"].ranges["afecFromCustomer"] = {"C", 6};
  request.taxGroups.erase("SalesToGrid");
  Conversion checked(company.connection(), factory, request, Claims::Leave);
  EXPECT_EQ((std::vector<std::string>{"Invalid input. From Customer is greater then to Customer.",
                                      "Invalid input. To Sales Tax Group cannot be blank."}),
            checked.CheckProblems());
  EXPECT_EQ("", log("AR_Customers")) << "nothing converted";
}

TEST_F(ConversionTest, RangesCompareAsText) {
  const std::unique_ptr<host::DataSource> customers = company.open("AR0024");
  auto fromControl = rangeControl(*customers, 1, "");
  auto toControl = rangeControl(*customers, 1, "");
  fromControl->SetLeftLabel("From Label");
  toControl->SetLeftLabel("To Label");
  const std::string reversed = "Invalid input. From From Label is greater then to To Label.";
  auto check = [&](const std::string& fromValue, const std::string& toValue) {
    fromControl->SetValue(fromValue);
    toControl->SetValue(toValue);
    return RangeProblem(*fromControl, *toControl).value_or("");
  };
  EXPECT_EQ(reversed, check("9", "10")) << "text order, not numbers";
  EXPECT_EQ(reversed, check("B", "A")) << "reversed";
  EXPECT_EQ("", check("A", "A")) << "equal values";
  EXPECT_EQ("", check("", "A")) << "empty from value";
  EXPECT_EQ("", check("ZZ", "ZZZZZZZZZZZZ")) << "initial to value";
}

TEST(TabChecksTest, ChecksFollowTheKindsOfEachMapping) {
  auto describe = [](const std::string& tab) {
    std::string text;
    for (const CheckGroup& group : TabChecks(tab)) {
      text += "[";
      for (const RangeCheck& range : group.ranges) text += range.fromControl + " ";
      text += group.type == ConversionType::TaxGroup ? group.fromGrid + "+" + group.toGrid
                                                     : group.authorityGrid;
      text += "]";
    }
    return text;
  };
  EXPECT_EQ(
      "[afecFromVendor afecFromVendorGroup afecFromPayableCode afecFromPayableCodeVendor "
      "PurchasesFromGrid+PurchasesToGrid]",
      describe("AP"));
  EXPECT_EQ(
      "[afecFromOETemplate OETemplateFromGrid+OETemplateToGrid][afecFromMiscCharge "
      "OEMiscChargesGrid]",
      describe("OE"))
      << "the misc charge currency pair is not checked";
  EXPECT_EQ(
      "[afecFromPOTemplate POTemplateFromGrid+POTemplateToGrid][afecFromAdditionalCost "
      "afecFromAdditionalCostCurrency POAdditionalCostsGrid][afecPOContractCostItemFrom "
      "afecPOContractCostVendorFrom POContractCostsGrid]",
      describe("PO"));
  EXPECT_EQ(4u, TabChecks("IC").at(1).ranges.size()) << "item pricing currency is checked";
  EXPECT_EQ((std::vector<std::string>{"chkCustomers", "chkCustomerGroups", "chkCustomerShipTo",
                                      "chkRecurringCharges"}),
            TabChecks("AR").at(0).checkBoxes);
}

}  // namespace
}  // namespace convert::testing
