#include "batch/JobFile.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <filesystem>
#include <fstream>

namespace batch {
namespace {

std::string writeJob(const std::string& text) {
  static std::atomic<int> counter{0};
  auto path =
      std::filesystem::temp_directory_path() /
      ("ordavel-job-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".ini");
  std::ofstream(path) << text;
  return path.string();
}

TEST(JobFileTest, ReadsEveryChoiceOfAJob) {
  const std::string path = writeJob(
      "; harmonisation of the customers\n"
      "[Run]\nCompany=samltd\nUser=ADMIN\nTab=AR\n"
      "[chkCustomers]\nChecked=Yes\nafecFromCustomer=1000\nafecToCustomer=1999\n"
      "Criteria=(IDGRP = \"RETAIL\")\n"
      "[SalesFromGrid]\nTaxGroup=ongstpst\nClasses=1, 1\n"
      "[SalesToGrid]\nTaxGroup=ONHST\n"
      "[ARItemsGrid]\nRow2=Delete,ONPST\nRow1=Insert,hst,,1,Yes\n");
  Job job = ReadJobFile(path);
  EXPECT_EQ("SAMLTD", job.company);
  EXPECT_EQ("ADMIN", job.user);
  EXPECT_EQ(1, job.tab);
  const KindChoice& customers = job.kinds.at("chkCustomers");
  EXPECT_TRUE(customers.checked);
  EXPECT_EQ((std::map<std::string, std::string>{{"afecFromCustomer", "1000"},
                                                {"afecToCustomer", "1999"}}),
            customers.ranges);
  EXPECT_EQ("(IDGRP = \"RETAIL\")", customers.criteria);
  EXPECT_EQ("ONGSTPST", job.taxGroups.at("SalesFromGrid").taxGroup);
  EXPECT_EQ((std::vector<std::string>{"1", "1"}), job.taxGroups.at("SalesFromGrid").classes);
  EXPECT_TRUE(job.taxGroups.at("SalesToGrid").classes.empty());
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"Insert", "HST", "", "1", "Yes"},
                                                   {"Delete", "ONPST"}}),
            job.operations.at("ARItemsGrid"))
      << "rows in their number order";
  std::filesystem::remove(path);
}

TEST(JobFileTest, ABadJobNamesFileLineAndProblem) {
  struct Case {
    const char* name;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"UnknownSection", "[Run]\nCompany=A\nUser=B\n[chkNothing]\nChecked=1\n",
       ":4: Unknown section [chkNothing]."},
      {"UnknownKey", "[Run]\nCompany=A\nUser=B\n[chkCustomers]\nafecFromVendor=1\n",
       ":5: Unknown key afecFromVendor in section [chkCustomers]."},
      {"BadFlag", "[Run]\nCompany=A\nUser=B\n[chkVendors]\nChecked=maybe\n",
       ":5: Checked must be Yes or No, not \"MAYBE\"."},
      {"BadTab", "[Run]\nCompany=A\nUser=B\nTab=XX\n",
       ":4: Tab must be one of AP, AR, IC, OE, PO, BK."},
      {"MissingUser", "[Run]\nCompany=A\n", ":1: Section [Run] must name the User."},
      {"BadClasses", "[Run]\nCompany=A\nUser=B\n[SalesFromGrid]\nClasses=1,x\n",
       ":5: Classes must be numbers separated by commas."},
      {"BadOperation", "[Run]\nCompany=A\nUser=B\n[ICItemsGrid]\nRow1=Replace,GST\n",
       ":5: Row1 must start with Insert, Update or Delete and an authority."},
      {"NoRun", "[chkVendors]\nChecked=1\n", ":1: the job file has no [Run] section."},
  };
  for (const Case& c : cases) {
    const std::string path = writeJob(c.text);
    try {
      ReadJobFile(path);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const JobFileError& error) {
      EXPECT_EQ(path + c.message, error.what()) << c.name;
    }
    std::filesystem::remove(path);
  }
  EXPECT_THROW(ReadJobFile("/nonexistent/job.ini"), JobFileError);
}

}  // namespace
}  // namespace batch
