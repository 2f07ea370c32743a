#include "convert/tests/ConversionFixture.h"

#include "convert/RecordTexts.h"

#include <SQLiteCpp/Statement.h>

namespace convert::testing {
namespace {

using I = std::int64_t;

/// Customers converted from sales group OLD (GST 1, PST 1) to HST (HST 1), set up as the
/// customers' target does it.
class TaxGroupConversionTest : public ConversionFixture {
 protected:
  void SetUp() override {
    auto customer = [this](const char* id, const char* group, I class1, I class2,
                           const char* registration = "") {
      company.data().insert("AR0024", {{"IDCUST", id},
                                       {"CODETAXGRP", group},
                                       {"TAXSTTS1", class1},
                                       {"TAXSTTS2", class2},
                                       {"IDTAXREGI1", registration}});
    };
    customer("1000", "OLD", 1, 1, "GST-REG-1000");
    customer("1100", "OLD", 2, 1);
    customer("1200", "OLD", 1, 1);
    customer("1300", "OLD", 1, 1);
    customer("1400", "HST", 1, 0);
    customer("2000", "OLD", 1, 1);
    customers = company.open("AR0024");
    from = taxGroupMapping("From Sales Tax Group", 1, "OLD");
    to = taxGroupMapping("To Sales Tax Group", 1, "HST");
    fromCustomer = rangeControl(*customers, 1, "1000");
    toCustomer = rangeControl(*customers, 1, "1300");
    customerCriteria = criteria(*toCustomer, *customers, "");
  }

  /// What the customers' target does, with the given filter.
  void convertCustomers(const std::string& filter) {
    grids::TaxGroupGrid& f = *from->mapping;
    f.adsHeader(customers.get());
    f.Filter(filter);
    f.lTaxGroupIDX(38);
    f.TaxClassFieldPrefix("TAXSTTS");
    f.TaxRegistrationFieldPrefix("IDTAXREGI");
    engine->CopyTaxGroupGridSettings(f, *to->mapping);
    engine->StartTaxGroupLog(f, *to->mapping, "AR_Customers");
    engine->LogRange(*fromCustomer, *toCustomer);
    engine->ConvertTaxGroupRecords(f, *to->mapping, *customerCriteria);
  }

  std::string committed(const char* id) {
    SQLite::Statement query(company.data().database()->sql(),
                            "SELECT CODETAXGRP, TAXSTTS1, TAXSTTS2 FROM AR0024 WHERE IDCUST = ?");
    query.bind(1, id);
    if (!query.executeStep()) return "missing";
    return query.getColumn(0).getString() + " " + query.getColumn(1).getString() + " " +
           query.getColumn(2).getString();
  }

  static constexpr const char* kFilter =
      "(IDCUST>=\"1000 \") AND (IDCUST<=\"1300 \") AND (CODETAXGRP= \"OLD \")";
  static constexpr const char* kHeader =
      "<stamp> Ordavel for Customers started.\r\n"
      "<stamp> \r\n"
      "<stamp> Performed by user: ADMIN\r\n"
      "<stamp> \r\n"
      "<stamp> From Sales Tax Group [OLD] \r\n"
      "<stamp> Authority Tax Class\r\n"
      "<stamp> --------- ---------\r\n"
      "<stamp> GST               1\r\n"
      "<stamp> PST               1\r\n"
      "<stamp> \r\n"
      "<stamp> To Sales Tax Group [HST] \r\n"
      "<stamp> Authority Tax Class\r\n"
      "<stamp> --------- ---------\r\n"
      "<stamp> HST               1\r\n"
      "<stamp> \r\n"
      "<stamp> From Customer Number [1000] to Customer Number [1300]\r\n";

  std::unique_ptr<host::DataSource> customers;
  std::unique_ptr<TaxGroupMapping> from;
  std::unique_ptr<TaxGroupMapping> to;
  std::unique_ptr<host::FieldEditControl> fromCustomer;
  std::unique_ptr<host::FieldEditControl> toCustomer;
  std::unique_ptr<grids::CriteriaField> customerCriteria;
};

TEST_F(TaxGroupConversionTest, ConvertsSkipsAndFailsRecordsWithEveryOutcomeLogged) {
  bool changedByOtherUser = false;
  pump.onMessages = [&] {
    if (processing.Text() == "Converting Customers 1300..." && !changedByOtherUser) {
      company.data().database()->sql().exec(
          "UPDATE AR0024 SET _rev = _rev + 1 WHERE IDCUST = '1300'");
      changedByOtherUser = true;
    }
  };
  convertCustomers(kFilter);
  EXPECT_EQ(std::string(kHeader) +
                "<stamp> \r\n"
                "<stamp> Convert Customers 1000 succeeded.\r\n"
                "<stamp> \tHST-1, Registration Number = GST-REG-1000\r\n"
                "<stamp> Convert Customers 1100 skipped. Tax classes do not match.\r\n"
                "<stamp> Convert Customers 1200 succeeded.\r\n"
                "<stamp> Convert Customers 1300 failed. Return code=3.\r\n"
                "<stamp> Customers 1300 was changed by another user since it was read. Nothing "
                "was saved.\r\n"
                "<stamp> \r\n"
                "<stamp> Ordavel for Customers completed.\r\n"
                "<stamp> \r\n"
                "<stamp> \t4 Customers to convert.\r\n"
                "<stamp> \t2 Customers converted.\r\n"
                "<stamp> \t1 Customers skipped. Tax classes do not match.\r\n"
                "<stamp> \r\n"
                "<stamp> \t1 Customers could not be updated.\r\n"
                "<stamp> \r\n"
                "<stamp> " +
                std::string(80, '=') + "\r\n",
            log("AR_Customers"));
  EXPECT_EQ("HST 1 0", committed("1000"));
  EXPECT_EQ("OLD 2 1", committed("1100"));
  EXPECT_EQ("HST 1 0", committed("1200"));
  EXPECT_EQ("OLD 1 1", committed("1300"));
  EXPECT_EQ("OLD 1 1", committed("2000")) << "outside the range";
  EXPECT_EQ(2, state.lTotalUpdated);
  EXPECT_EQ(1, state.lTotalFailed);
  EXPECT_EQ(1, state.lTotalSkipped);
  EXPECT_EQ("", processing.Text());
  EXPECT_EQ(4.0f, progress.Max());
  EXPECT_EQ(4.0f, progress.Value());
}

TEST_F(TaxGroupConversionTest, AClassTheErpRefusesFailsEveryRecordAndCountsIt) {
  // The class was valid when chosen and has gone since: the ERP refuses it on every record.
  to->grid.SetCellData(1, 0, "7");
  convertCustomers("(IDCUST>=\"1000 \") AND (IDCUST<=\"1000 \") AND (CODETAXGRP= \"OLD \")");
  std::string log = this->log("AR_Customers");
  EXPECT_NE(std::string::npos,
            log.find("<stamp> \r\n"
                     "<stamp> Convert Customers 1000 failed. Return code=0.\r\n"
                     "<stamp> Tax Class 7 does not exist for tax authority HST (Sales).\r\n"
                     "<stamp> \r\n"
                     "<stamp> Ordavel for Customers completed.\r\n"
                     "<stamp> \r\n"
                     "<stamp> \t1 Customers to convert.\r\n"
                     "<stamp> \t0 Customers converted.\r\n"
                     "<stamp> \r\n"
                     "<stamp> \t1 Customers could not be updated.\r\n"))
      << log;
  EXPECT_EQ("OLD 1 1", committed("1000")) << "nothing of the record was written";
  EXPECT_EQ(1, state.lTotalFailed);
}

TEST_F(TaxGroupConversionTest, ARecordWithoutPendingChangesGetsNoLineAndNoCount) {
  from = taxGroupMapping("From Sales Tax Group", 1, "HST");
  convertCustomers("(CODETAXGRP= \"HST \")");
  std::string log = this->log("AR_Customers");
  EXPECT_EQ(std::string::npos, log.find("1400")) << log;
  EXPECT_NE(std::string::npos, log.find("\t1 Customers to convert.\r\n<stamp> \t0 Customers "
                                        "converted.\r\n<stamp> \r\n<stamp> ====="));
}

TEST_F(TaxGroupConversionTest, CriteriaAreCombinedWithTheKindsFilter) {
  customerCriteria = criteria(*toCustomer, *customers, "(TAXSTTS1 = 2)");
  convertCustomers(kFilter);
  std::string log = this->log("AR_Customers");
  EXPECT_NE(std::string::npos,
            log.find("Additional Criteria: (TAXSTTS1 = 2)\r\n<stamp> \r\n<stamp> Convert "
                     "Customers 1100 skipped."))
      << log;
  EXPECT_NE(std::string::npos, log.find("\t1 Customers to convert."));
  EXPECT_EQ("(" + std::string(kFilter) + ") AND ((TAXSTTS1 = 2))",
            CombineFilters(kFilter, "(TAXSTTS1 = 2)"));
  EXPECT_EQ("C", CombineFilters("", "C"));
  EXPECT_EQ("G", CombineFilters("G", ""));
}

TEST_F(TaxGroupConversionTest, AnEmptySelectionStartsNoBrowse) {
  convertCustomers("(IDCUST>=\"9000 \") AND (CODETAXGRP= \"OLD \")");
  EXPECT_EQ(std::string(kHeader) +
                "<stamp> \r\n"
                "<stamp> \r\n"
                "<stamp> Ordavel for Customers completed.\r\n"
                "<stamp> \r\n"
                "<stamp> \t0 Customers to convert.\r\n"
                "<stamp> \r\n"
                "<stamp> " +
                std::string(80, '=') + "\r\n",
            log("AR_Customers"));
}

TEST_F(TaxGroupConversionTest, CancelStopsBeforeTheNextRecordAndLaterKindsStillLog) {
  pump.onMessages = [&] {
    if (processing.Text() == "Converting Customers 1000...") state.CancelRequested = true;
  };
  convertCustomers(kFilter);
  std::string log = this->log("AR_Customers");
  EXPECT_NE(std::string::npos,
            log.find("Convert Customers 1000 succeeded.\r\n<stamp> \tHST-1, Registration Number = "
                     "GST-REG-1000\r\n<stamp> \r\n<stamp> Ordavel for Customers canceled.\r\n"
                     "<stamp> \r\n<stamp> \t4 Customers to convert.\r\n<stamp> \t1 Customers "
                     "converted.\r\n"))
      << log;
  EXPECT_EQ("OLD 2 1", committed("1100"));

  // The next kind of the run still writes its header and a cancelled summary.
  auto groups = company.open("AR0025");
  company.data().insert("AR0025", {{"IDGRP", "RETAIL"}, {"CODETAXGRP", "OLD"}});
  from->mapping->adsHeader(groups.get());
  from->mapping->Filter("(CODETAXGRP= \"OLD \")");
  from->mapping->lTaxGroupIDX(35);
  from->mapping->TaxClassFieldPrefix("TAXSTTS");
  engine->CopyTaxGroupGridSettings(*from->mapping, *to->mapping);
  EXPECT_EQ("", to->mapping->TaxRegistrationFieldPrefix()) << "nothing carries over";
  engine->StartTaxGroupLog(*from->mapping, *to->mapping, "AR_Customer_Groups");
  engine->ConvertTaxGroupRecords(*from->mapping, *to->mapping, *customerCriteria);
  std::string groupLog = this->log("AR_Customer_Groups");
  EXPECT_NE(std::string::npos, groupLog.find("Ordavel for Customer Groups canceled.\r\n<stamp> "
                                             "\r\n<stamp> \t1 Customer Groups to convert.\r\n"
                                             "<stamp> \t0 Customer Groups converted.\r\n"))
      << groupLog;
}

TEST_F(TaxGroupConversionTest, ASecondRunOnTheSameDayAppendsToTheSameFile) {
  convertCustomers(kFilter);
  convertCustomers(kFilter);
  std::string log = this->log("AR_Customers");
  size_t first = log.find("Ordavel for Customers started.");
  ASSERT_NE(std::string::npos, first);
  EXPECT_NE(std::string::npos, log.find("Ordavel for Customers started.", first + 1));
  EXPECT_NE(std::string::npos, log.find("\t1 Customers to convert.")) << "only 1100 remains";
}

TEST_F(TaxGroupConversionTest, AnErrorInTheKindsLoopEndsTheKindWithItsFailureLines) {
  customerCriteria = criteria(*toCustomer, *customers, "(NOSUCHFIELD = 1)");
  convertCustomers(kFilter);
  std::string log = this->log("AR_Customers");
  size_t failure = log.find("Invalid filter.");
  ASSERT_NE(std::string::npos, failure) << log;
  EXPECT_NE(std::string::npos, log.find("<stamp> \r\n<stamp> Convert Customers  failed. Return "
                                        "code=0.\r\n",
                                        failure));
  EXPECT_EQ(std::string::npos, log.find("to convert.")) << "no summary after a failure";
  EXPECT_EQ(log.size() - 2 - 80, log.rfind(std::string(80, '=')));
  EXPECT_EQ(0, state.lTotalFailed);
}

}  // namespace
}  // namespace convert::testing
