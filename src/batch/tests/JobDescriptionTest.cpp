#include "batch/JobDescription.h"

#include "batch/JobFile.h"
#include "convert/TabChecks.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace batch {
namespace {

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

/// Reads `text` as a job file; the reader's message when it refuses it, else "".
std::string readJob(const std::string& text) {
  const auto path =
      std::filesystem::temp_directory_path() / ("ordavel-skeleton-" + std::to_string(::getpid()));
  std::ofstream(path) << text;
  std::string problems;
  try {
    ReadJobFile(path.string());
  } catch (const JobFileError& error) {
    problems = error.what();
  }
  std::filesystem::remove(path);
  return problems;
}

// --list, --skeleton and the reader's message about an unknown key agree on every section.
TEST(JobDescriptionTest, EverySectionShowsTheKeysTheReaderTakes) {
  for (const std::string& tab : convert::RunTabs()) {
    for (const SectionHelp& help : DescribeTab(tab)) {
      const JobSection& section = help.section;
      std::vector<std::string> shown;
      for (const KeyHelp& key : help.keys) shown.push_back(key.key);
      EXPECT_EQ(joined(section.keys), joined(shown)) << section.name;
      const std::string header = section.type == SectionType::Run ? "" : "[" + section.name + "]\n";
      EXPECT_NE(std::string::npos,
                readJob("[Run]\nCompany=A\nUser=B\nTab=" + tab + "\n" + header + "Bogus=1\n")
                    .find("Its keys are: " + joined(section.keys) + "."))
          << section.name;
    }
  }
}

// Every key a skeleton writes, commented out or not, is one the reader takes.
TEST(JobDescriptionTest, ASkeletonWithEveryKeyFilledInIsAJob) {
  for (const std::string& tab : convert::RunTabs()) {
    std::ostringstream skeleton;
    WriteSkeleton(skeleton, tab);
    std::string job =
        std::regex_replace(skeleton.str(), std::regex("\n;(Row[0-9]+)="), "\n$1=Insert,GST");
    job = std::regex_replace(job, std::regex("\n;Classes="), "\nClasses=1");
    job = std::regex_replace(job, std::regex("\n;RecordsPerCommit="), "\nRecordsPerCommit=");
    job = std::regex_replace(job, std::regex("\n;(\\w+)="), "\n$1=X");
    job = std::regex_replace(job, std::regex("\n(Company|User)=\n"), "\n$1=X\n");
    EXPECT_FALSE(std::regex_search(job, std::regex("\n(;\\w+=|\\w+=\n)"))) << job;
    EXPECT_EQ("", readJob(job)) << tab;
  }
}

TEST(JobDescriptionTest, TheListShowsEachKindsKeysAndEachGridsRow) {
  std::ostringstream list;
  PrintJobList(list, {"ar"});
  for (const char* line :
       {"[Run]  Who signs on where, and which tab runs\n", "\nTab AR: Accounts Receivable\n",
        "  [chkCustomers]  Convert Customers, view AR0024\n    Checked           Yes or No\n"
        "    afecFromCustomer  From Customer\n    afecToCustomer    To Customer\n",
        "  [ARItemsGrid]  A/R Item Taxes\n    Row1, Row2, ...  Operation, Authority, From Tax "
        "Class, To Tax Class, Tax Included\n"}) {
    EXPECT_NE(std::string::npos, list.str().find(line)) << line << "\n" << list.str();
  }
  EXPECT_THROW(PrintJobList(list, {"XX"}), std::invalid_argument);
}

}  // namespace
}  // namespace batch
