#include "convert/tests/ConversionFixture.h"
#include "platform/tests/testsupport/TestData.h"

#include "convert/RecordTexts.h"
#include "convert/changes/ChangeFileReader.h"
#include "convert/changes/ChangeFileWriter.h"
#include "host/PendingLogFile.h"
#include "util/ResolvePathCase.h"

#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

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

  std::unique_ptr<host::DataSource> customers;
  std::unique_ptr<TaxGroupMapping> from;
  std::unique_ptr<TaxGroupMapping> to;
  std::unique_ptr<host::FieldEditControl> fromCustomer;
  std::unique_ptr<host::FieldEditControl> toCustomer;
  std::unique_ptr<grids::CriteriaField> customerCriteria;
};

/// How another user changes customer 1300 while the run converts it.
struct ConflictCase {
  const char* name;
  std::int32_t recordsPerCommit;
  /// Through the session's own link, the only writer an open batch lets in; else through a
  /// connection of its own, which can write only between commits.
  bool sameSession;
};

class ConflictTest : public TaxGroupConversionTest,
                     public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(ConflictTest, ConvertsSkipsAndFailsRecordsWithEveryOutcomeLogged) {
  engine->SetRecordsPerCommit(GetParam().recordsPerCommit);
  auto other = company.open("AR0024");
  bool changedByOtherUser = false;
  pump.onMessages = [&] {
    if (processing.Text() != "Converting Customers 1300..." || changedByOtherUser) return;
    changedByOtherUser = true;
    if (!GetParam().sameSession) {
      company.data().database()->sql().exec(
          "UPDATE AR0024 SET _rev = _rev + 1 WHERE IDCUST = '1300'");
      return;
    }
    other->Fields(1).PutWithoutVerification(std::string("1300"));
    ASSERT_TRUE(other->Read());
    other->Fields("NAMECUST").PutWithVerification(std::string("Renamed"));
    other->Update();
  };
  convertCustomers(kFilter);
  EXPECT_EQ(platform::testing::TestData("src/convert/tests/data/customers-conflict.log"),
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

INSTANTIATE_TEST_SUITE_P(Commits, ConflictTest,
                         ::testing::Values(ConflictCase{"EveryRecordAnotherProgram", 1, false},
                                           ConflictCase{"InABatchTheSameSession", 100, true}),
                         [](const ::testing::TestParamInfo<ConflictCase>& param) {
                           return param.param.name;
                         });

// Two records per commit: the skipped 1100 fills the batch 1000 opened. Its lines reach the log
// only with its commit, and only while it is open is the company locked to other programs.
TEST_F(TaxGroupConversionTest, ABatchHoldsTheLockAndItsLinesUntilItsCommit) {
  engine->SetRecordsPerCommit(2);
  std::map<std::string, std::pair<bool, bool>> seen;  // record -> (others could write, logged)
  pump.onMessages = [&] {
    const std::string text = processing.Text();
    if (text.empty() || seen.count(text)) return;
    SQLite::Database other(company.data().file().string(), SQLite::OPEN_READWRITE);
    const bool writable = other.tryExec("UPDATE AR0024 SET NAMECUST = NAMECUST") == SQLITE_OK;
    seen[text] = {writable, log("AR_Customers").find("1000 succeeded") != std::string::npos};
  };
  convertCustomers(kFilter);
  using P = std::pair<bool, bool>;
  EXPECT_EQ(P(true, false), seen["Converting Customers 1000..."]);
  EXPECT_EQ(P(true, true), seen["Converting Customers 1200..."]) << "after the first commit";
  EXPECT_EQ(P(false, true), seen["Converting Customers 1300..."]) << "1200 opened a batch";
}

// An error of the kind's loop after a converted record: the record is committed and logged
// before the lines of the failure.
TEST_F(TaxGroupConversionTest, AnErrorOfTheLoopCommitsTheOpenBatchFirst) {
  pump.onMessages = [&] {
    if (progress.Value() == 1.0f) throw std::runtime_error("The window went away.");
  };
  convertCustomers(kFilter);
  const std::string log = this->log("AR_Customers");
  const size_t converted = log.find("Convert Customers 1000 succeeded.");
  EXPECT_NE(std::string::npos, converted) << log;
  EXPECT_LT(converted, log.find("The window went away.")) << log;
  EXPECT_EQ("HST 1 0", committed("1000"));
  EXPECT_EQ(1, state.lKindsFailed);
}

// The trigger leaves a deferred foreign-key violation, found only by the commit of 1000's batch:
// neither the log nor the change file may claim 1000, whose update that commit took back.
TEST_F(TaxGroupConversionTest, ABatchWhoseCommitFailsLeavesNoSuccessLineAndNoConvertedRow) {
  company.data().database()->sql().exec(
      "CREATE TABLE planted (id INTEGER PRIMARY KEY);"
      "CREATE TABLE dangling (id INTEGER REFERENCES planted DEFERRABLE INITIALLY DEFERRED);"
      "CREATE TRIGGER fail_the_commit AFTER UPDATE ON AR0024 WHEN NEW.IDCUST = '1000' "
      "BEGIN INSERT INTO dangling VALUES (1); END;");
  const ChangeDigest digest("");
  ChangeFileWriter changes(company.connection().LogFolderOnDisk(), {}, {}, digest);
  ChangeRecorder recorder(changes, false);
  engine->SetChangeRecorder(&recorder);
  engine->SetRecordsPerCommit(2);
  convertCustomers(kFilter);
  engine->SetChangeRecorder(nullptr);
  const std::string log = this->log("AR_Customers");
  EXPECT_EQ(std::string::npos, log.find("1000 succeeded")) << log;
  EXPECT_NE(std::string::npos, log.find("FOREIGN KEY constraint failed")) << log;
  EXPECT_EQ("OLD 1 1", committed("1000"));
  std::vector<std::string> outcomes;
  for (const ChangeRow& row : ReadChangeFile(changes.Path()).rows) {
    if (row.key == "1000" && row.field == "CODETAXGRP") outcomes.push_back(row.outcome);
  }
  EXPECT_EQ(std::vector<std::string>{"failed: the commit of its batch failed"}, outcomes);
  EXPECT_EQ(0, to->mapping->lUpdated()) << "the batch's records were not saved";
  EXPECT_EQ(1, to->mapping->lFailed());
}

/// What a kill left of a batch that converted customer 1000, as the batch's steps leave it.
struct KillCase {
  const char* name;
  bool complete;                        ///< the pending file was written whole
  bool committed;                       ///< the batch was committed
  enum { None, Half, Whole } appended;  ///< how much of its lines reached the log
  bool rowsWritten = false;             ///< its change rows reached the run's change file
};

class KilledBatchTest : public TaxGroupConversionTest,
                        public ::testing::WithParamInterface<KillCase> {};

// Whatever the kill left, after the rerun customer 1000 has exactly one success line: the
// settled one ahead of the rerun's header when the batch was committed, else the rerun's own;
// and the killed run's change file, still ending whole, has its rows exactly when it committed.
TEST_P(KilledBatchTest, TheNextStartOfTheKindsLogSettlesWhatAKillLeft) {
  const KillCase& kill = GetParam();
  host::AccpacConnection& connection = company.connection();
  const std::string logFile = connection.getLogFileName("", "_AR_Customers");
  const std::string line = connection.LogLine(0, "Convert Customers 1000 succeeded.");
  std::filesystem::create_directories(connection.LogFolderOnDisk());
  host::PendingLogFile pending(connection.LogFolderOnDisk(), "AR_Customers");
  const ChangeDigest digest("");
  ChangeFileWriter changes(connection.LogFolderOnDisk(), {}, {}, digest);
  const ChangeRow row{"AR_Customers", "1000", "CODETAXGRP", "OLD", "HST", "converted"};
  std::string rows;
  std::string head = changes.Head();
  AppendSignedRow(rows, digest, head, row);

  auto link = connection.CompanyDBLinkRW();
  link->TransactionBegin();
  customers->Fields(1).PutWithoutVerification(std::string("1000"));
  ASSERT_TRUE(customers->Read());
  customers->Fields(38).PutWithVerification(std::string("HST"));
  customers->Update();
  const host::RecordProbe probe{{{1, "1000"}}, 0, "", true, true, {{38, "OLD", "HST"}}};
  ASSERT_TRUE(pending.Stage({logFile,
                             connection.LogFileSize(logFile),
                             line,
                             1,
                             {probe},
                             changes.Path().string(),
                             changes.End(),
                             rows}));
  if (!kill.complete) {
    std::filesystem::resize_file(pending.Path(), std::filesystem::file_size(pending.Path()) - 3);
  }
  if (kill.committed) {
    link->TransactionCommit();
  } else {
    link->TransactionRollback();
  }
  if (kill.appended == KillCase::Whole) connection.WriteLogLines(logFile, line, 1);
  if (kill.appended == KillCase::Half) {
    std::ofstream(util::ResolvePathCase(connection.getLogPath() + "/" + logFile),
                  std::ios::app | std::ios::binary)
        << line.substr(0, line.size() / 2);
  }
  if (kill.rowsWritten) changes.WriteSigned(rows, 1, head);

  convertCustomers(kFilter);
  const std::string log = this->log("AR_Customers");
  const size_t first = log.find("Convert Customers 1000 succeeded.");
  EXPECT_EQ(std::string::npos, log.find("Convert Customers 1000 succeeded.", first + 1)) << log;
  std::istringstream lines(log);
  for (std::string each; std::getline(lines, each);) {
    EXPECT_TRUE(!each.starts_with("<stamp> Convert") || each.ends_with(".\r"))
        << "a piece of a line is left: " << each;
  }
  EXPECT_EQ(kill.committed, first < log.find("Ordavel for Customers started.")) << log;
  EXPECT_FALSE(std::filesystem::exists(pending.Path()));
  EXPECT_EQ("HST", committed("1000").substr(0, 3));
  const ChangeFileContents killed = ReadChangeFile(changes.Path(), &digest);
  EXPECT_FALSE(killed.finished);
  EXPECT_EQ(kill.committed ? std::vector<ChangeRow>{row} : std::vector<ChangeRow>{}, killed.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Kills, KilledBatchTest,
    ::testing::Values(KillCase{"WhileStaging", false, false, KillCase::None},
                      KillCase{"BeforeTheCommit", true, false, KillCase::None},
                      KillCase{"BeforeTheAppend", true, true, KillCase::None},
                      KillCase{"DuringTheAppend", true, true, KillCase::Half},
                      KillCase{"AfterTheAppend", true, true, KillCase::Whole},
                      KillCase{"AfterTheRows", true, true, KillCase::Whole, true}),
    [](const ::testing::TestParamInfo<KillCase>& param) { return param.param.name; });

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
  EXPECT_EQ(platform::testing::TestData("src/convert/tests/data/customers-none-selected.log"),
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
