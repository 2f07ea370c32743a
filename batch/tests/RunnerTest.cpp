#include "batch/Runner.h"

#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"
#include "host/testsupport/InstalledSite.h"
#include "util/ResolvePathCase.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace batch {
namespace {

class NoShell : public util::Shell {
 public:
  int open(const std::string&) override { return 33; }
  void explore(const std::string&) override {}
};

class NoFilterWindow : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
};

class Prompt : public erp::SignonPrompt {
 public:
  std::optional<erp::Credentials> ask(const std::string& message) override {
    if (!message.empty()) return std::nullopt;
    return erp::Credentials{"ADMIN", "admin", "SAMLTD"};
  }
};

/// Raises the interrupt flag when the run has polled `after` times.
class CountingPump : public host::EventPump {
 public:
  void ProcessPendingMessages() override {
    if (after >= 0 && ++polls > after) flag.store(true);
    inner.ProcessPendingMessages();
  }
  int after = -1;
  int polls = 0;
  std::atomic<bool> flag{false};
  InterruptPump inner{flag};
};

/// The main window on an installed stand-in site whose SAMLTD has customers on group OLD.
class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site.install();
    site.createSite({"", "CLIENT", "Client", "", "", ""},
                    {"SAMLTD", "CLIENT", "Client", "", "", ""});
    std::vector<erp::ActiveApplication> applications;
    for (const char* app : {"TX", "AP", "AR", "IC", "OE", "PO", "BK"}) {
      applications.push_back({app, app, "66A"});
    }
    company = site.addCompany(applications);
    customer("C100", "1");
    customer("C200", "1");
    customer("C300", "2");
  }

  void customer(const std::string& id, const std::string& taxClass) {
    company->insert("AR0024", {{"IDCUST", id},
                               {"CODETAXGRP", "OLD"},
                               {"TAXSTTS1", std::int64_t{std::stoi(taxClass)}},
                               {"TAXSTTS2", std::int64_t{std::stoi(taxClass)}}});
  }

  std::string taxGroupOf(const std::string& id) {
    auto customers = company->open("AR0024", true);
    customers->put(customers->field("IDCUST").number, id, false);
    if (!customers->read()) return "missing";
    return customers->text(customers->field("CODETAXGRP").number);
  }

  std::string writeJob(const std::string& text) {
    auto path = std::filesystem::temp_directory_path() /
                ("ordavel-batch-" + std::to_string(::getpid()) + ".ini");
    std::ofstream(path) << text;
    jobs.push_back(path);
    return path.string();
  }

  ExitStatus Run(const std::string& text, bool yes = true) {
    host::HostServices host =
        host::standin::StandinHostServices(site.sharedData(), prompt, display);
    ConsoleMessages messages(out, [yes](const std::string&) { return yes; });
    app::Form1 window(app::Form1Services{
        .host = std::move(host),
        .readPaths = [this] { return site.paths(); },
        .dataSources = factory,
        .messages = messages,
        .shell = shell,
        .notifier = site.notifier,
        .pump = pump,
        .filterWindow = filterWindow,
        .programFolder = site.programs().string(),
    });
    pump.inner.OnInterrupt([&window] { window.cmdCancel().Click(); });
    EXPECT_TRUE(window.Load());
    ExitStatus status = RunJob(ReadJobFile(writeJob(text)), window, messages, out);
    logFolder = window.Connection()->getLogPath();
    window.Unload();
    return status;
  }

  void TearDown() override {
    for (const auto& path : jobs) std::filesystem::remove(path);
  }

  const std::string kCustomersJob =
      "[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=AR\n"
      "[chkCustomers]\nChecked=Yes\nafecFromCustomer=C100\nafecToCustomer=C300\n"
      "[SalesFromGrid]\nTaxGroup=OLD\nClasses=1,1\n"
      "[SalesToGrid]\nTaxGroup=HST\nClasses=1\n";

  host::testing::InstalledSite site;
  std::unique_ptr<erp::testing::TestCompany> company;
  Prompt prompt;
  std::ostringstream errors;
  erp::ConsoleErrorDisplay display{errors};
  host::standin::StandinDataSourceFactory factory;
  std::ostringstream out;
  NoShell shell;
  CountingPump pump;
  NoFilterWindow filterWindow;
  std::string logFolder;
  std::vector<std::filesystem::path> jobs;
};

TEST_F(RunnerTest, CustomersJobConvertsMatchingRecordsAndSkipsOthers) {
  EXPECT_EQ(kIncomplete, Run(kCustomersJob));
  EXPECT_EQ("HST", taxGroupOf("C100"));
  EXPECT_EQ("HST", taxGroupOf("C200"));
  EXPECT_EQ("OLD", taxGroupOf("C300")) << "classes 2,2 do not match the from mapping";
  EXPECT_NE(std::string::npos, out.str().find("Log files: " + logFolder)) << out.str();
  const auto folder = util::ResolvePathCase(logFolder);
  ASSERT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_FALSE(std::filesystem::is_empty(folder));
}

TEST_F(RunnerTest, RunWithoutSkippedRecordsIsComplete) {
  std::string job = kCustomersJob;
  job.replace(job.find("C300"), 4, "C200");
  EXPECT_EQ(kComplete, Run(job));
  EXPECT_EQ("OLD", taxGroupOf("C300"));
}

TEST_F(RunnerTest, RefusedInputConvertsNothing) {
  struct Case {
    const char* name;
    std::string job;
  };
  const Case cases[] = {
      {"NothingChecked", "[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=AR\n"},
      {"ReversedRange",
       "[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=AR\n"
       "[chkCustomers]\nChecked=Yes\nafecFromCustomer=C300\nafecToCustomer=C100\n"
       "[SalesFromGrid]\nTaxGroup=OLD\n[SalesToGrid]\nTaxGroup=HST\n"},
      {"UnknownTaxGroup",
       "[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=AR\n[chkCustomers]\nChecked=Yes\n"
       "[SalesFromGrid]\nTaxGroup=NOPE\n[SalesToGrid]\nTaxGroup=HST\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kRefused, Run(c.job)) << c.name;
    EXPECT_EQ("OLD", taxGroupOf("C100")) << c.name;
  }
}

TEST_F(RunnerTest, DeclinedBackupQuestionAbandonsTheRun) {
  EXPECT_EQ(kCancelled, Run(kCustomersJob, false));
  EXPECT_EQ("OLD", taxGroupOf("C100"));
}

TEST_F(RunnerTest, InterruptAfterFirstRecordCancels) {
  pump.after = 2;
  EXPECT_EQ(kCancelled, Run(kCustomersJob));
  EXPECT_NE(std::string::npos, out.str().find(" canceled.")) << out.str();
  EXPECT_EQ("OLD", taxGroupOf("C300"));
}

TEST_F(RunnerTest, MalformedJobFileIsRefusedBeforeAnyRun) {
  EXPECT_THROW(ReadJobFile(writeJob("[Run]\nCompany=SAMLTD\nUser=ADMIN\n[chkNothing]\n")),
               JobFileError);
}

TEST(FinalMessageTest, StatusFollowsTheMessage) {
  const std::pair<const char*, ExitStatus> cases[] = {
      {"Conversion of Bank tax information is complete. Do you want to explore?", kComplete},
      {"Conversion of Bank tax information is complete. Errors occured during conversion.",
       kIncomplete},
      {"Conversion of Bank tax information is complete. There was tax information not converted",
       kIncomplete},
      {"Conversion of Bank tax information canceled. There was tax information not converted",
       kCancelled},
  };
  for (const auto& [message, status] : cases) EXPECT_EQ(status, StatusOfFinalMessage(message));
}

}  // namespace
}  // namespace batch
