#include "batch/tests/RunnerFixture.h"

namespace batch {
namespace {

using fixture::RunnerTest;

TEST_F(RunnerTest, CustomersJobConvertsMatchingRecordsAndSkipsOthers) {
  EXPECT_EQ(kIncomplete, Run(kCustomersJob));
  EXPECT_EQ("HST", taxGroupOf("C100"));
  EXPECT_EQ("HST", taxGroupOf("C200"));
  EXPECT_EQ("OLD", taxGroupOf("C300")) << "classes 2,2 do not match the from mapping";
  EXPECT_NE(std::string::npos, out.str().find("Log files: " + logFolder)) << out.str();
  ASSERT_TRUE(std::filesystem::is_directory(logFolder)) << "the folder as it is on disk";
  EXPECT_FALSE(std::filesystem::is_empty(logFolder));
}

TEST_F(RunnerTest, RunWithoutSkippedRecordsIsComplete) {
  std::string job = kCustomersJob;
  job.replace(job.find("C300"), 4, "C200");
  EXPECT_EQ(kComplete, Run(job));
  EXPECT_EQ("OLD", taxGroupOf("C300"));
}

// A quoted range reaches the filter and the log's range line as typed in the window's field: with
// its leading blanks and inner quote, and without the trailing blanks the field drops.
TEST_F(RunnerTest, AQuotedRangeValueSelectsAndLogsWhatTheWindowsFieldHolds) {
  std::string job = kCustomersJob;
  job.replace(job.find("C100"), 4, "\"  A\"B\"").replace(job.find("C300"), 4, "\"C200  \"");
  EXPECT_EQ(kComplete, Run(job));
  EXPECT_EQ("HST", taxGroupOf("C100"));
  EXPECT_EQ("OLD", taxGroupOf("C300"));
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(logFolder)) {
    if (entry.path().string().ends_with("_AR_Customers.log")) log = bytesOf(entry);
  }
  EXPECT_NE(std::string::npos,
            log.find(" From Customer Number [  A\"B] to Customer Number [C200]\r\n"))
      << log;
}

// Whatever the controls refuse, and every input the Convert checks refuse, stops the job before
// anything is converted, with every problem listed at once.
TEST_F(RunnerTest, RefusedInputConvertsNothingAndIsListedAtOnce) {
  struct Case {
    const char* name;
    std::string job;
    std::vector<std::string> messages;
  };
  const std::string customers = kRunAR + "[chkCustomers]\nChecked=Yes\n";
  const std::string to = "[SalesToGrid]\nTaxGroup=HST\n";
  const Case cases[] = {
      {"NothingChecked", kRunAR, {"There is nothing selected for Accounts Receivable"}},
      {"UnknownTaxGroup",
       customers + "[SalesFromGrid]\nTaxGroup=NOPE\n" + to,
       {".ini:8: TaxGroup of [SalesFromGrid]: Invalid input. From Sales Tax Group Tax Group NOPE "
        "does not exist."}},
      {"RefusedClasses",
       customers + "[SalesFromGrid]\nTaxGroup=OLD\nClasses=7,9\n" + to,
       {".ini:9: Classes of [SalesFromGrid], class 7 for authority GST: Invalid input. Tax Class "
        "7 does not exist.",
        ".ini:9: Classes of [SalesFromGrid], class 9 for authority PST: Invalid input. Tax Class "
        "9 does not exist."}},
      {"ShortClassList",
       customers + "[SalesFromGrid]\nTaxGroup=OLD\nClasses=1\n" + to,
       {".ini:9: Classes of [SalesFromGrid] gives 1 classes, but tax group OLD has 2 "
        "authorities, one class each: GST, PST."}},
      {"CriteriaThatEscapeAndAReversedRange",
       kRunAR +
           "[chkCustomers]\nChecked=Yes\nafecFromCustomer=C300\nafecToCustomer=C100\n"
           "Criteria=IDCUST = \"ZZZ\") OR (IDCUST >= \" \"\n"
           "[SalesFromGrid]\nTaxGroup=OLD\n" +
           to,
       {"Invalid input. From Customer is greater then to Customer.",
        "Invalid input. Additional Criteria for Customers: Unexpected text after the filter at "
        "position 14."}},
      {"CriteriaWithAnUnknownField",
       customers + "Criteria=(NOFIELD = 1)\n[SalesFromGrid]\nTaxGroup=OLD\n" + to,
       {"Invalid input. Additional Criteria for Customers: Unknown field NOFIELD"}},
  };
  for (const Case& c : cases) {
    out.str("");
    errors.str("");
    EXPECT_EQ(kRefused, Run(c.job)) << c.name;
    for (const std::string& message : c.messages) {
      EXPECT_NE(std::string::npos, output().find(message)) << c.name << "\n" << output();
    }
    EXPECT_EQ("OLD", taxGroupOf("C100")) << c.name;
  }
}

TEST_F(RunnerTest, OperationRowsAreEnteredExactlyOrRefused) {
  const std::string job = kRunAR +
                          "[chkARItemTaxes]\nChecked=Yes\n"
                          "[ARItemsGrid]\nRow1=Insert,HST,2,3\nRow2=Update,GST,1,2,Maybe\n"
                          "Row3=Delete,PST,,,,,\n";
  EXPECT_EQ(kRefused, Run(job));
  for (const char* message :
       {".ini:8: Row1 of [ARItemsGrid], From Tax Class 2: From Tax Class cannot be given for "
        "Insert rows.",
        ".ini:9: Row2 of [ARItemsGrid], Tax Included Maybe: Tax Included must be Yes or No.",
        ".ini:10: Row3 of [ARItemsGrid] has 7 cells, but the grid has 5 columns: Operation, "
        "Authority, From Tax Class, To Tax Class, Tax Included.",
        "Nothing was converted."}) {
    EXPECT_NE(std::string::npos, output().find(message)) << message << "\n" << output();
  }
}

struct StatusCase {
  const char* name;
  bool skipped;  ///< whether the job's range takes in the customer whose classes do not match
  bool yes;
  std::function<void(RunnerTest&)> arrange;
  ExitStatus status;
};

class RunnerStatusTest : public RunnerTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(RunnerStatusTest, TheExitStatusFollowsHowTheRunEnded) {
  const StatusCase& c = GetParam();
  beforeRun = [&c, this] {
    if (c.arrange) c.arrange(*this);
  };
  std::string job = kCustomersJob;
  if (!c.skipped) job.replace(job.find("C300"), 4, "C200");
  EXPECT_EQ(c.status, Run(job, c.yes)) << output();
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunnerStatusTest,
    ::testing::Values(StatusCase{"Complete", false, true, nullptr, kComplete},
                      StatusCase{"Skipped", true, true, nullptr, kIncomplete},
                      StatusCase{"DeclinedBackup", false, false, nullptr, kCancelled},
                      StatusCase{"Interrupted", true, true,
                                 [](RunnerTest& test) { test.pump.after = 2; }, kCancelled},
                      StatusCase{"LostLogLines", false, true,
                                 [](RunnerTest& test) {
                                   // A folder where the log belongs makes every log line fail.
                                   host::AccpacConnection& connection = test.signedOn->Connection();
                                   std::filesystem::create_directories(
                                       std::filesystem::path(connection.LogFolderOnDisk()) /
                                       connection.getLogFileName("", "_AR_Customers"));
                                 },
                                 kIncomplete},
                      StatusCase{"KindFailed", false, true,
                                 [](RunnerTest& test) {
                                   test.company->database()->sql().exec("DROP TABLE AR0024");
                                 },
                                 kIncomplete}),
    [](const ::testing::TestParamInfo<StatusCase>& param) { return param.param.name; });

TEST_F(RunnerTest, AJobForATabWhoseModuleIsNotActiveSaysSo) {
  deactivate("PO");
  EXPECT_EQ(kRefused,
            Run("[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=PO\n[chkPOTemplateCodes]\nChecked=Yes\n"));
  EXPECT_NE(std::string::npos,
            out.str().find(".ini:4: Purchase Orders is not active for company SAMLTD."))
      << out.str();
}

// Contract costs are filtered by the unformatted item number, which only the items view knows.
TEST_F(RunnerTest, ContractCostsConvertWithoutInventoryControl) {
  deactivate("IC");
  company->insert("IC0310", {{"ITEMNO", "A11000"}, {"FMTITEMNO", "A1-1000"}});
  company->insert("PO0181", {{"ITEMNO", "A11000"}, {"VDCODE", "V100"}});
  company->insert(
      "PO0183",
      {{"ITEMNO", "A11000"}, {"VDCODE", "V100"}, {"AUTHORITY", "PST"}, {"#4", std::int64_t{1}}});
  EXPECT_EQ(kComplete, Run("[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=PO\n"
                           "[chkVendorContractCosts]\nChecked=Yes\n"
                           "afecPOContractCostItemFrom=A1-1000\nafecPOContractCostItemTo=A1-1000\n"
                           "[POContractCostsGrid]\nRow1=Delete,PST\n"))
      << output();
  EXPECT_EQ(0, company->open("PO0183", true)->count("")) << "the PST row of A1-1000 is deleted";
}

const std::string kFirstTwoCustomers = [] {
  std::string job =
      "[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=AR\n"
      "[chkCustomers]\nChecked=Yes\nafecFromCustomer=C100\nafecToCustomer=C200\n"
      "[SalesFromGrid]\nTaxGroup=OLD\nClasses=1,1\n"
      "[SalesToGrid]\nTaxGroup=HST\nClasses=1\n";
  return job;
}();

TEST_F(RunnerTest, JobsRunInOrderWithTheirProgressAndOneSummary) {
  // The second job finds the first one's customers converted and skips the third.
  EXPECT_EQ(kIncomplete, RunAll({kFirstTwoCustomers, kCustomersJob})) << output();
  const std::string text = out.str();
  const size_t first = text.find("Customers: 2 to convert, 2 converted, 0 skipped, 0 failed");
  const size_t second = text.find("Customers: 1 to convert, 0 converted, 1 skipped, 0 failed");
  EXPECT_LT(first, second) << text;
  EXPECT_NE(std::string::npos, second) << text;
  std::istringstream total(text.substr(text.find("\nTotal ")));
  std::vector<std::string> words{std::istream_iterator<std::string>(total), {}};
  words.resize(5);
  EXPECT_EQ((std::vector<std::string>{"Total", "3", "2", "1", "0"}), words) << text;
  for (const std::string& end :
       {jobName(0) + " on SAMLTD: complete (0)\n", jobName(1) + " on SAMLTD: incomplete (2)\n"}) {
    EXPECT_NE(std::string::npos, text.find(end)) << text;
  }
}

TEST_F(RunnerTest, OneRefusedJobStopsTheWholeBatchBeforeAnythingIsConverted) {
  const std::string unknownGroup = kRunAR +
                                   "[chkCustomers]\nChecked=Yes\n[SalesFromGrid]\nTaxGroup=NOPE\n"
                                   "[SalesToGrid]\nTaxGroup=HST\n";
  EXPECT_EQ(kRefused, RunAll({kCustomersJob, unknownGroup}));
  EXPECT_EQ("OLD", taxGroupOf("C100"));
  EXPECT_NE(std::string::npos,
            out.str().find(jobName(1) + " on SAMLTD is refused:\n" + jobName(1) +
                           ":8: TaxGroup of [SalesFromGrid]: Invalid input. From Sales Tax Group "
                           "Tax Group NOPE does not exist.\nNothing was converted.\n"))
      << output();
}

// The first job must not convert before the last one finds its kind claimed by another run.
TEST_F(RunnerTest, EveryKindOfEveryJobIsClaimedBeforeAnyJobConverts) {
  auto other = otherCompany();
  customer(*other, "C100", "1");
  const std::filesystem::path logs =
      erp::SiteLayout(site.sharedData()).companyFolder("OTHER") / "Ordavel";
  host::KindClaim otherRun(logs.string(), "AR_Customers", "CLERK",
                           std::chrono::system_clock::now());
  ASSERT_TRUE(otherRun.Held());
  EXPECT_EQ(kRefused, RunAll({kCustomersJob}, {"samltd", "other"})) << output();
  EXPECT_EQ("OLD", taxGroupOf("C100"));
  EXPECT_NE(std::string::npos,
            out.str().find("Customers of company OTHER are being converted by user CLERK since "))
      << output();
}

TEST_F(RunnerTest, AJobThatIsNotConfirmedStopsTheJobsAfterIt) {
  EXPECT_EQ(kCancelled, RunAll({kCustomersJob, kFirstTwoCustomers}, {},
                               [](const std::string&) { return false; }));
  EXPECT_EQ("OLD", taxGroupOf("C100"));
  EXPECT_NE(std::string::npos, out.str().find(jobName(0) + " on SAMLTD: cancelled (3)\n" +
                                              jobName(1) + " on SAMLTD: not run\n"))
      << output();
}

TEST_F(RunnerTest, CompanyRunsTheJobsOnTheCompaniesGivenInTurn) {
  auto other = otherCompany();
  customer(*other, "C100", "1");
  EXPECT_EQ(kComplete, RunAll({kFirstTwoCustomers}, {"other", "samltd"})) << output();
  EXPECT_EQ("HST", taxGroupOf(*other, "C100"));
  EXPECT_EQ("HST", taxGroupOf("C200"));
  EXPECT_LT(out.str().find("Job " + jobName(0) + " on OTHER"),
            out.str().find("Job " + jobName(0) + " on SAMLTD"));
}

TEST(ExitStatusTest, TheWorstStatusOfSeveralJobsWins) {
  const std::vector<ExitStatus> order = {kComplete, kIncomplete, kRefused, kCancelled};
  for (size_t better = 0; better < order.size(); ++better) {
    for (size_t worse = better; worse < order.size(); ++worse) {
      EXPECT_EQ(order[worse], Worst(order[better], order[worse]));
      EXPECT_EQ(order[worse], Worst(order[worse], order[better]));
    }
  }
}

}  // namespace
}  // namespace batch
