#include "batch/JobFile.h"

#include "batch/JobWriter.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace batch {
namespace {

std::string writeJob(const std::string& text) {
  static std::atomic<int> counter{0};
  auto path =
      std::filesystem::temp_directory_path() /
      ("ordavel-job-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".ini");
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

TEST(JobFileTest, ReadsEveryChoiceOfAJobWithItsLines) {
  // A byte-order mark and a criteria longer than the INI functions' 8,191 characters.
  const std::string longCriteria = "(IDGRP = \"RETAIL\")" + std::string(9000, ' ') + "OR (A = 1)";
  const std::string path = writeJob(
      "\xEF\xBB\xBF; harmonisation of the customers\n"
      "[Run]\nCompany=samltd\nUser=ADMIN\nTab=AR\nRecordsPerCommit= 250\n"
      "[chkCustomers]\nChecked=Yes\nafecFromCustomer=1000\nafecToCustomer=1999\n"
      "Criteria=" +
      longCriteria +
      "\n"
      "[SalesFromGrid]\nTaxGroup=ongstpst\nClasses=1, 1\n"
      "[SalesToGrid]\nTaxGroup=ONHST\n"
      "[ARItemsGrid]\nRow2=Delete,ONPST\nRow1=Insert,hst,,1,Yes\n");
  Job job = ReadJobFile(path);
  EXPECT_EQ("SAMLTD", job.company);
  EXPECT_EQ("ADMIN", job.user);
  EXPECT_EQ(1, job.tab);
  EXPECT_EQ(250, job.recordsPerCommit);
  const KindChoice& customers = job.kinds.at("chkCustomers");
  EXPECT_TRUE(customers.checked);
  EXPECT_EQ("1999", customers.ranges.at("afecToCustomer").text);
  EXPECT_EQ(10, customers.ranges.at("afecToCustomer").line);
  EXPECT_EQ(longCriteria, customers.criteria.text) << "never cut";
  EXPECT_EQ("ONGSTPST", job.taxGroups.at("SalesFromGrid").taxGroup.text);
  EXPECT_EQ((std::vector<std::string>{"1", "1"}), job.taxGroups.at("SalesFromGrid").classes);
  EXPECT_EQ(14, job.taxGroups.at("SalesFromGrid").classesLine);
  EXPECT_TRUE(job.taxGroups.at("SalesToGrid").classes.empty());
  const auto& rows = job.operations.at("ARItemsGrid");
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ((std::vector<std::string>{"Insert", "HST", "", "1", "Yes"}), rows[0].cells)
      << "rows in their number order";
  EXPECT_EQ(19, rows[0].line);
  EXPECT_EQ("Row2", rows[1].key);
  std::filesystem::remove(path);
}

TEST(JobFileTest, AValueInDoubleQuotesKeepsEverythingBetweenThemAnyOtherLosesItsBlanks) {
  const std::pair<std::string, std::string> cases[] = {{"  \"  10  \"  ", "  10  "},
                                                       {"\"A\"B\\\"", "A\"B\\"},
                                                       {"\"10", "\"10"},
                                                       {"10\"", "10\""},
                                                       {" \t10 \t", "10"},
                                                       {"\"\"", ""}};
  for (const auto& [written, read] : cases) {
    const std::string path =
        writeJob("[Run]\nCompany=A\nUser=B\nTab=AR\n[chkCustomers]\nCriteria=" + written + "\n");
    EXPECT_EQ(read, ReadJobFile(path).kinds.at("chkCustomers").criteria.text) << written;
    std::filesystem::remove(path);
  }
}

TEST(JobFileTest, AWrittenJobReadsBackExactlyWhateverItsValuesHold) {
  const std::string values[] = {"  10  ", "A\"B\\", "\"10", "10\"", "'x'",
                                "A;B",    "\t1",    "1000", ""};
  for (const std::string& value : values) {
    Job job;
    job.company = "SAMLTD";
    job.user = "ADMIN";
    job.tab = 1;
    job.recordsPerCommit = 7;
    job.webApi.text = "https://erp.example/Sage300WebApi/v1.0/-/";
    job.logFolder.text = "/tmp/tax logs";
    job.kinds["chkCustomers"] = {0, true, {{"afecToCustomer", {value, 0}}}, {value, 0}};
    job.taxGroups["SalesFromGrid"] = {0, {"ONGSTPST", 0}, {"1", "2"}, 0};
    job.operations["ARItemsGrid"] = {{"Row1", 0, {"Insert", "HST", "", "1", "Yes"}}};
    std::ostringstream text;
    WriteJob(text, job);
    const std::string path = writeJob(text.str());
    const Job read = ReadJobFile(path);
    const KindChoice& customers = read.kinds.at("chkCustomers");
    EXPECT_EQ(value, customers.criteria.text) << text.str();
    EXPECT_EQ(value, customers.ranges.at("afecToCustomer").text) << text.str();
    EXPECT_TRUE(customers.checked);
    EXPECT_FALSE(read.kinds.at("chkCustomerGroups").checked) << "every kind of the tab written";
    EXPECT_EQ(7, read.recordsPerCommit);
    EXPECT_EQ(job.webApi.text, read.webApi.text) << "a job runs where it was written for";
    EXPECT_EQ(job.logFolder.text, read.logFolder.text);
    EXPECT_EQ((std::vector<std::string>{"1", "2"}), read.taxGroups.at("SalesFromGrid").classes);
    EXPECT_EQ((std::vector<std::string>{"Insert", "HST", "", "1", "Yes"}),
              read.operations.at("ARItemsGrid").at(0).cells);
    std::filesystem::remove(path);
  }
  EXPECT_THROW(JobValueText("A = 1\nOR B = 2"), std::invalid_argument) << "no line holds it";
}

TEST(JobFileTest, ABadJobNamesFileLineAndEveryProblem) {
  struct Case {
    const char* name;
    const char* text;
    const char* message;
  };
  const char* run = "[Run]\nCompany=A\nUser=B\nTab=AR\n";
  const Case cases[] = {
      {"UnknownSection", "[chkNothing]\nChecked=1\n", ":5: Unknown section [chkNothing]."},
      {"UnknownKeyListsTheKeys", "[chkCustomers]\nafecFromVendor=1\n",
       ":6: Unknown key afecFromVendor in section [chkCustomers]. Its keys are: Checked, "
       "afecFromCustomer, afecToCustomer, Criteria."},
      {"BadFlag", "[chkCustomers]\nChecked=maybe\n",
       ":6: Checked must be Yes or No, not \"maybe\"."},
      {"BadClasses", "[SalesFromGrid]\nClasses=1,x\n",
       ":6: Classes must be numbers separated by commas."},
      {"EmptyClassBetween", "[SalesFromGrid]\nClasses=1,,2\n",
       ":6: Classes must be numbers separated by commas; item 2 is empty."},
      {"EmptyClassLast", "[SalesFromGrid]\nclasses=1,\n",
       ":6: classes must be numbers separated by commas; item 2 is empty."},
      {"EmptyClassFirst", "[SalesFromGrid]\nClasses= , 1\n",
       ":6: Classes must be numbers separated by commas; item 1 is empty."},
      {"EmptyOperation", "[ARItemsGrid]\nRow1=,GST\n",
       ":6: Row1 must start with Insert, Update or Delete and an authority."},
      {"EmptyAuthority", "[ARItemsGrid]\nRow1=Insert,,1\n",
       ":6: Row1 must start with Insert, Update or Delete and an authority."},
      {"BadOperation", "[ARItemsGrid]\nRow1=Swap,GST\n",
       ":6: Row1 must start with Insert, Update or Delete and an authority."},
      {"RowZero", "[ARItemsGrid]\nRow0=Insert,GST\n",
       ":6: Unknown key Row0 in section [ARItemsGrid]. Its keys are: Row1, Row2, ...."},
      {"NotARow", "[ARItemsGrid]\nTaxGroup=GST\n",
       ":6: Unknown key TaxGroup in section [ARItemsGrid]. Its keys are: Row1, Row2, ...."},
      {"SameRowTwice", "[ARItemsGrid]\nRow1=Insert,GST\nRow01=Delete,GST\n",
       ":7: Row01 numbers the same row as Row1 on line 6."},
      {"RepeatedSection", "[chkCustomers]\nChecked=1\n[chkcustomers]\nChecked=0\n",
       ":7: Section [chkcustomers] is repeated; it first appears on line 5."},
      {"RepeatedKey", "[chkCustomers]\nChecked=1\nCHECKED=0\n",
       ":7: Key CHECKED is repeated in section [chkCustomers]; it first appears on line 6."},
      {"MalformedHeader", "[chkCustomers]]\nChecked=1\n",
       ":5: The section header [chkCustomers]] is malformed."},
      {"GarbageLine", "[chkCustomers]\nChecked\n",
       ":6: This line is not a key=value line, a comment or a section header."},
      {"SectionOfAnotherTab", "[chkVendors]\nChecked=Yes\n",
       ":5: Section [chkVendors] belongs to tab AP, but the job runs tab AR."},
      {"NoRecordsPerCommit", "RecordsPerCommit=0\n",
       ":5: RecordsPerCommit must be a whole number of records from 1 to 10000, not \"0\"."},
      {"NegativeRecordsPerCommit", "RecordsPerCommit=-5\n",
       ":5: RecordsPerCommit must be a whole number of records from 1 to 10000, not \"-5\"."},
      {"RecordsPerCommitInWords", "RecordsPerCommit=ten\n",
       ":5: RecordsPerCommit must be a whole number of records from 1 to 10000, not \"ten\"."},
      {"FractionOfARecord", "RecordsPerCommit=2.5\n",
       ":5: RecordsPerCommit must be a whole number of records from 1 to 10000, not \"2.5\"."},
      {"MoreRecordsPerCommitThanALockShouldLast", "RecordsPerCommit=10001\n",
       ":5: RecordsPerCommit must be a whole number of records from 1 to 10000, not \"10001\"."},
  };
  for (const Case& c : cases) {
    const std::string path = writeJob(std::string(run) + c.text);
    try {
      ReadJobFile(path);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const JobFileError& error) {
      EXPECT_EQ(path + c.message, error.what()) << c.name;
    }
    std::filesystem::remove(path);
  }
}

TEST(JobFileTest, JobsWithoutTheirRunSettingsAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"Key=1\n[Run]\nCompany=A\nUser=B\n", ":1: Key stands before any section."},
      {"[Run]\nCompany=A\nTab=XX\n",
       ":3: Tab must be one of AP, AR, IC, OE, PO, BK.\n{}:1: Section [Run] must name the User."},
      {"[chkVendors]\nChecked=1\n", ":1: the job file has no [Run] section."},
  };
  for (const auto& [text, message] : cases) {
    const std::string path = writeJob(text);
    std::string expected = path + message;
    if (const size_t at = expected.find("{}"); at != std::string::npos) {
      expected.replace(at, 2, path);
    }
    try {
      ReadJobFile(path);
      ADD_FAILURE() << text;
    } catch (const JobFileError& error) {
      EXPECT_EQ(expected, error.what());
    }
    std::filesystem::remove(path);
  }
  EXPECT_THROW(ReadJobFile("/nonexistent/job.ini"), JobFileError);
}

}  // namespace
}  // namespace batch
