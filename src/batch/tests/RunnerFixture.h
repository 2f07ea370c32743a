#pragma once

#include "batch/Runner.h"

#include "batch/JobDescription.h"
#include "batch/JobQueue.h"
#include "batch/KindWatch.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinHost.h"
#include "host/standin/StandinSession.h"
#include "host/testsupport/InstalledSite.h"
#include "util/ResolvePathCase.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

/// The jobs of an installed stand-in site, for the tests of the batch runner.
namespace batch::fixture {

/// Raises the interrupt flag when the run has polled `after` times.
class CountingPump : public host::EventPump {
 public:
  void ProcessPendingMessages() override {
    if (after >= 0 && ++polls > after) flag.store(true);
    if (onPoll) onPoll();
    inner.ProcessPendingMessages();
  }
  std::function<void()> onPoll;
  int after = -1;
  int polls = 0;
  std::atomic<bool> flag{false};
  InterruptPump inner{flag};
};

/// A job's progress as ordavel-batch follows it, told to a test as well.
class TestWatch : public KindWatch {
 public:
  using KindWatch::KindWatch;
  void KindStarted(const convert::KindDef& kind, const std::string& description) override {
    KindWatch::KindStarted(kind, description);
    if (onKindStarted) onKindStarted(kind);
  }
  void BatchCommitted() override {
    if (onCommit) onCommit();
  }
  std::function<void(const convert::KindDef&)> onKindStarted;
  std::function<void()> onCommit;
};

/// An installed stand-in site whose SAMLTD has customers on group OLD.
class RunnerTest : public ::testing::Test {
 public:
  void SetUp() override {
    site.install();
    site.createSite({"", "CLIENT", "Client", "", "", ""},
                    {"SAMLTD", "CLIENT", "Client", "", "", ""});
    std::vector<erp::ActiveApplication> applications;
    for (const char* app : {"TX", "AP", "AR", "IC", "OE", "PO", "BK"}) {
      applications.push_back({app, app, "66A"});
    }
    company = site.addCompany(applications);
    customer(*company, "C100", "1");
    customer(*company, "C200", "1");
    customer(*company, "C300", "2");
  }

  static void customer(erp::testing::TestCompany& in, const std::string& id,
                       const std::string& taxClass) {
    in.insert("AR0024", {{"IDCUST", id},
                         {"CODETAXGRP", "OLD"},
                         {"TAXSTTS1", std::int64_t{std::stoi(taxClass)}},
                         {"TAXSTTS2", std::int64_t{std::stoi(taxClass)}}});
  }

  void deactivate(const std::string& app) {
    erp::SiteDatabase(erp::SiteLayout(site.sharedData())).removeApplication("SAMLTD", app, app);
  }

  std::string taxGroupOf(const std::string& id) { return taxGroupOf(*company, id); }
  static std::string taxGroupOf(erp::testing::TestCompany& in, const std::string& id) {
    auto customers = in.open("AR0024", true);
    customers->put(customers->field("IDCUST").number, id, false);
    if (!customers->read()) return "missing";
    return customers->text(customers->field("CODETAXGRP").number);
  }

  std::string writeJob(const std::string& text) {
    auto path =
        std::filesystem::temp_directory_path() / ("ordavel-batch-" + std::to_string(::getpid()) +
                                                  "-" + std::to_string(jobs.size()) + ".ini");
    std::ofstream(path) << text;
    jobs.push_back(path);
    return path.string();
  }

  Workstation Station(std::function<bool(const std::string&)> confirm = nullptr) {
    if (!confirm) confirm = [](const std::string&) { return true; };
    return Workstation{
        .services =
            [this](host::CredentialsPrompt& prompt, host::CompanyAccess access) {
              return host::standin::StandinHost().Services(site.sharedData(), prompt, display, {},
                                                           access);
            },
        .readPaths = [this] { return site.paths(); },
        .dataSources = factory,
        .messages = messages,
        .confirm = confirm,
        .pump = pump,
        .interrupts = pump.inner,
        .password = [] { return "admin"; },
        .errors = errors,
    };
  }

  ExitStatus Run(const std::string& text, bool yes = true) {
    Workstation station = Station([yes](const std::string&) { return yes; });
    JobSession session(station, "ADMIN", "SAMLTD");
    EXPECT_TRUE(session.Load());
    signedOn = &session;
    if (beforeRun) beforeRun();
    ProgressDisplay progress(out, false, [] { return std::chrono::steady_clock::time_point{}; });
    TestWatch watch(progress, station);
    watch.onKindStarted = onKindStarted;
    watch.onCommit = onCommit;
    ExitStatus status = RunJob(ReadJobFile(writeJob(text)), session, watch, out);
    logFolder = session.Connection().LogFolderOnDisk();
    signedOn = nullptr;
    return status;
  }

  /// Runs job files as `ordavel-batch [--company ...] JOB...` does, with progress off a
  /// terminal and a clock that stands still.
  ExitStatus RunAll(const std::vector<std::string>& texts,
                    const std::vector<std::string>& companies = {},
                    std::function<bool(const std::string&)> confirm = nullptr) {
    std::vector<std::string> files;
    for (const std::string& text : texts) files.push_back(writeJob(text));
    Workstation station = Station(confirm);
    ProgressDisplay progress(out, false, [] { return std::chrono::steady_clock::time_point{}; });
    return RunJobs(QueueJobs(files, companies), station, progress, out, preview);
  }

  /// Company OTHER beside SAMLTD, with Tax Services and A/R, which ADMIN may sign on to.
  std::unique_ptr<erp::testing::TestCompany> otherCompany() {
    const erp::SiteLayout layout(site.sharedData());
    erp::SiteDatabase database(layout);
    database.addCompany("OTHER", "Other Company");
    database.grantCompany("ADMIN", "OTHER");
    for (const char* app : {"TX", "AR"}) database.setApplication("OTHER", {app, app, "66A"});
    database.setSiteRecord({"OTHER", "CLIENT", "Client", "", "", ""});
    auto other = std::make_unique<erp::testing::TestCompany>(layout.companyDatabase("OTHER"));
    other->addTaxData();
    return other;
  }

  static std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  /// The file name of the job written `index`-th.
  std::string jobName(size_t index) const { return jobs.at(index).string(); }

  /// The company's log folder as it is spelled on disk.
  std::filesystem::path logs() const {
    return util::ResolvePathCase(site.sharedData() / "Company" / "SAMLTD" / "Ordavel");
  }

  /// Everything the run printed and showed.
  std::string output() const { return out.str() + errors.str(); }

  void TearDown() override {
    for (const auto& path : jobs) std::filesystem::remove(path);
  }

  const std::string kRunAR = "[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=AR\n";
  const std::string kCustomersJob =
      kRunAR +
      "[chkCustomers]\nChecked=Yes\nafecFromCustomer=C100\nafecToCustomer=C300\n"
      "[SalesFromGrid]\nTaxGroup=OLD\nClasses=1,1\n"
      "[SalesToGrid]\nTaxGroup=HST\nClasses=1\n";

  host::testing::InstalledSite site;
  std::unique_ptr<erp::testing::TestCompany> company;
  std::ostringstream errors;
  erp::ConsoleErrorDisplay display{errors};
  host::standin::StandinDataSourceFactory factory;
  std::ostringstream out;
  ConsoleMessages messages{out};
  CountingPump pump;
  /// Runs once the job has signed on (signedOn), before it is entered.
  std::function<void()> beforeRun;
  JobSession* signedOn = nullptr;
  std::function<void(const convert::KindDef&)> onKindStarted;
  std::function<void()> onCommit;
  bool preview = false;
  std::string logFolder;
  std::vector<std::filesystem::path> jobs;
};

}  // namespace batch::fixture
