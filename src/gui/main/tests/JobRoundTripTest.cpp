#include "gui/main/JobCommands.h"

#include "app/JobLoad.h"
#include "app/tests/testsupport/Form1Fixture.h"
#include "batch/JobFile.h"
#include "host/standin/StandinHost.h"
#include "platform/tests/testsupport/TestData.h"
#include "standin/sample/SampleSite.h"

#include <QWidget>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace gui::testing {
namespace {

namespace fs = std::filesystem;

/// Everything a job chooses, without the lines it was read from.
std::string Choices(const convert::ConversionRequest& job) {
  std::ostringstream text;
  text << job.company << ' ' << job.user << ' ' << job.tab << '\n';
  for (const auto& [box, kind] : job.kinds) {
    text << box << (kind.checked ? " checked" : "") << " [" << kind.criteria.text << "]";
    for (const auto& [control, value] : kind.ranges)
      text << ' ' << control << "=[" << value.text << ']';
    text << '\n';
  }
  for (const auto& [grid, group] : job.taxGroups) {
    text << grid << ' ' << group.taxGroup.text;
    for (const std::string& taxClass : group.classes) text << ',' << taxClass;
    text << '\n';
  }
  for (const auto& [grid, rows] : job.operations) {
    for (const convert::OperationRow& row : rows) {
      text << grid;
      for (const std::string& cell : row.cells) text << ",[" << cell << ']';
      text << '\n';
    }
  }
  return text.str();
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The conversion logs of one tab in a log folder, each by name with its stamps masked.
std::map<std::string, std::string> TabLogs(const fs::path& folder, const std::string& tab) {
  std::map<std::string, std::string> logs;
  if (!fs::exists(folder)) return logs;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(".log") && name.find("_" + tab + "_") != std::string::npos)
      logs[name] = platform::testing::MaskStamps(Read(entry.path()));
  }
  return logs;
}

/// A sample site in the temp folder with its own registry store.
struct SampleSite {
  explicit SampleSite(const fs::path& in) : folder(in) {
    setenv("ORDAVEL_REGISTRY", (in / "registry").c_str(), 1);
    sharedData = erp::createSampleSite(in / "site", ORDAVEL_RUNTIME_LIBRARIES).sharedData;
  }
  fs::path LogFolder() const { return sharedData / "Company" / "SAMLTD" / "Ordavel"; }
  fs::path folder;
  fs::path sharedData;
};

/// The sample site twice: the window converts each tab's example job on one, `ordavel-batch`
/// runs the job the window saved on the other.
class JobRoundTripTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
 protected:
  static void SetUpTestSuite() {
    folder = new fs::path(fs::temp_directory_path() /
                          ("ordavel-job-round-trip-" + std::to_string(::getpid())));
    fs::remove_all(*folder);
    batchSite = new SampleSite(*folder / "batch");
    windowSite = new SampleSite(*folder / "window");
  }
  static void TearDownTestSuite() {
    delete windowSite;
    delete batchSite;
    fs::remove_all(*folder);
    delete folder;
  }

  void SetUp() override {
    form = std::make_unique<app::Form1>(app::Form1Services{
        .host = host.Services(windowSite->sharedData, prompt, display),
        .readPaths = [this] { return host.ReadPaths(notifier); },
        .dataSources = host.DataSources(),
        .messages = messages,
        .shell = shell,
        .notifier = notifier,
        .pump = pump,
        .filterWindow = filterWindow,
        .programFolder = folder->string(),
    });
    ASSERT_TRUE(form->Load()) << errors.str();
  }
  void TearDown() override { form->Unload(); }

  /// Runs `ordavel-batch --yes job` on the batch's site; its exit status.
  static int RunBatch(const fs::path& job) {
    const pid_t child = ::fork();
    if (child == 0) {
      setenv("ORDAVEL_REGISTRY", (batchSite->folder / "registry").c_str(), 1);
      setenv("ORDAVEL_PASSWORD", "admin", 1);
      std::freopen("/dev/null", "w", stdout);
      ::execl(ORDAVEL_BATCH, ORDAVEL_BATCH, "--yes", job.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static fs::path* folder;
  static SampleSite* batchSite;
  static SampleSite* windowSite;
  host::standin::StandinHost host{windowSite->folder / "registry"};
  erp::testing::ScriptedPrompt prompt{{erp::Credentials{"ADMIN", "admin", "SAMLTD"}}};
  std::ostringstream errors;
  erp::ConsoleErrorDisplay display{errors};
  app::testing::RecordingMessages messages;
  util::testing::RecordingShell shell;
  util::testing::RecordingNotifier notifier;
  app::testing::ScriptedPump pump;
  app::testing::NoFilterWindow filterWindow;
  std::unique_ptr<app::Form1> form;
  QWidget parent;
};

fs::path* JobRoundTripTest::folder = nullptr;
SampleSite* JobRoundTripTest::batchSite = nullptr;
SampleSite* JobRoundTripTest::windowSite = nullptr;

TEST_P(JobRoundTripTest, SavedJobReadsBackExactlyAndTheBatchLeavesTheWindowsLogs) {
  const auto [example, tab] = GetParam();
  JobCommands jobs(*form, parent);
  ASSERT_TRUE(jobs.Load(fs::path(ORDAVEL_EXAMPLES) / example))
      << (messages.boxes.empty() ? "" : messages.boxes.back().text);
  const std::string loaded = Choices(app::WindowJob(*form));
  const fs::path saved = *folder / (std::string(tab) + ".ini");
  ASSERT_TRUE(jobs.Save(saved));
  EXPECT_EQ(loaded, Choices(batch::ReadJobFile(saved.string())));
  ASSERT_TRUE(jobs.Load(saved));
  EXPECT_EQ(loaded, Choices(app::WindowJob(*form))) << "opening the saved job changes nothing";

  messages.answers = {true, false};
  form->Run()->ConvertButtonClick();
  ASSERT_EQ(2u, messages.boxes.size()) << errors.str();
  RunBatch(saved);
  const auto windowLogs = TabLogs(windowSite->LogFolder(), tab);
  EXPECT_FALSE(windowLogs.empty());
  EXPECT_EQ(windowLogs, TabLogs(batchSite->LogFolder(), tab));
}

TEST_F(JobRoundTripTest, OpenJobRefusesAJobWithEveryProblemAtOnceAndChangesNothing) {
  JobCommands jobs(*form, parent);
  const std::string before = Choices(app::WindowJob(*form));
  const int tab = form->SSTab1().Tab();
  auto refused = [&](const char* name, const std::string& text,
                     const std::vector<std::string>& problems) {
    SCOPED_TRACE(name);
    const fs::path job = *folder / (std::string(name) + ".ini");
    std::ofstream(job) << "[Run]\nUser=ADMIN\n" << text;
    messages.boxes.clear();
    EXPECT_FALSE(jobs.Load(job));
    ASSERT_EQ(1u, messages.boxes.size());
    for (const std::string& problem : problems)
      EXPECT_NE(std::string::npos, messages.boxes[0].text.find(problem)) << messages.boxes[0].text;
    EXPECT_EQ(before, Choices(app::WindowJob(*form)));
    EXPECT_EQ(tab, form->SSTab1().Tab());
  };
  refused("reader", "Company=SAMLTD\nTab=AR\n[chkCustomers]\nChecked=Maybe\n[chkVendors]\n",
          {":6: Checked must be Yes or No", ":7: Section [chkVendors] belongs to tab AP"});
  refused("company", "Company=SAMWST\nTab=AR\n",
          {"The job is for company SAMWST, but Ordavel is signed on to SAMLTD."});
  refused("server", "Company=SAMLTD\nTab=AR\nWebApi=https://erp.example/Sage300WebApi/v1.0/-/\n",
          {"The job converts through the Web API at https://erp.example/Sage300WebApi/v1.0/-/, "
           "but Ordavel is signed on to the local ERP."});
  refused("entries",
          "Company=SAMLTD\nTab=AR\n[chkCustomers]\nChecked=Yes\n"
          "[SalesFromGrid]\nTaxGroup=NOSUCH\n[ARItemsGrid]\nRow1=Insert,NOSUCH\n",
          {":8: TaxGroup", ":10: Row1"});
}

INSTANTIATE_TEST_SUITE_P(
    EveryTab, JobRoundTripTest,
    ::testing::Values(std::pair{"ap-vendors.ini", "AP"}, std::pair{"ar-harmonisation.ini", "AR"},
                      std::pair{"ic-items.ini", "IC"}, std::pair{"oe-templates.ini", "OE"},
                      std::pair{"po-costs.ini", "PO"}, std::pair{"bank.ini", "BK"}),
    [](const auto& row) { return std::string(row.param.second); });

}  // namespace
}  // namespace gui::testing
