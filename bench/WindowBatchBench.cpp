// Converts N customers from ONGSTPST to ONHST with `ordavel-batch --yes` and in the main window
// (drawn offscreen), on the same company put back before each run, and prints both times on one
// line with their ratio, each the best of three rounds (a busy moment of a shared machine moves
// a single measurement a lot). The batch's time is its whole process, sign-on included; the
// window's runs from the click on Convert to the final question.
//
//   window_batch_bench [N] [ROUNDS]      (default 20000 customers, 3 rounds)

#include "gui/main/JobCommands.h"
#include "gui/main/MainWindow.h"

#include "gui/controls/ApplicationLook.h"
#include "gui/controls/ControlServices.h"
#include "host/standin/StandinHost.h"

#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SampleSite.h"
#include "standin/site/SiteDatabase.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <QApplication>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

/// The window's ratio to the batch that the window must stay within.
constexpr double kTargetRatio = 1.25;

/// Answers the backup question Yes and the final one No, as an operator running the job would.
class OperatorAnswers : public host::MessageBoxes {
 public:
  void Show(const std::string& text, const std::string&, host::MessageIcon) override {
    std::cerr << text << '\n';
  }
  bool AskYesNo(const std::string&, const std::string&, host::MessageIcon) override {
    return false;
  }
  bool AskYesNoDefaultNo(const std::string&, const std::string&, host::MessageIcon) override {
    return true;
  }
};

/// Joins the desktop session it is handed; errors go to the standard error output.
class NoDialogs : public host::SignonDialog, public host::ErrorListView {
 public:
  std::optional<host::SignonCredentials> Ask(const host::SignonRequest&) override {
    return std::nullopt;
  }
  void Show(const std::vector<host::ErrorListEntry>& entries) override {
    for (const auto& entry : entries) std::cerr << entry.text << '\n';
  }
};

class SilentNotifier : public util::Notifier {
 public:
  void Critical(const std::string& text) override { std::cerr << text << '\n'; }
};

class QtPump : public host::EventPump {
 public:
  void ProcessPendingMessages() override { QCoreApplication::processEvents(); }
};

class NoShell : public util::Shell {
 public:
  int Open(const std::string&) override { return 0; }
  bool Explore(const std::string&) override { return true; }
};

class KeepFilter : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
};

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void ResetCustomers(const fs::path& database) {
  SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
  db.exec("UPDATE AR0024 SET CODETAXGRP = 'ONGSTPST', TAXSTTS1 = 1, TAXSTTS2 = 1");
}

double RunBatch(const fs::path& job) {
  const auto start = Clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    setenv("ORDAVEL_PASSWORD", "admin", 1);
    if (!std::freopen("/dev/null", "w", stdout)) ::_exit(126);
    ::execl(ORDAVEL_BATCH, ORDAVEL_BATCH, "--yes", job.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("ordavel-batch failed with status " + std::to_string(status));
  }
  return Seconds(start);
}

/// From the click on Convert to the final question, in the window drawn offscreen.
double RunWindow(const fs::path& shared, const fs::path& job, std::int32_t handle) {
  host::standin::StandinHost standin;
  NoDialogs dialogs;
  OperatorAnswers answers;
  SilentNotifier notifier;
  QtPump pump;
  NoShell shell;
  KeepFilter filterWindow;
  app::Form1 form(app::Form1Services{
      .host = standin.Services(shared, dialogs, dialogs, std::to_string(handle)),
      .readPaths = [&] { return standin.ReadPaths(notifier); },
      .dataSources = standin.DataSources(),
      .messages = answers,
      .shell = shell,
      .notifier = notifier,
      .pump = pump,
      .filterWindow = filterWindow,
      .programFolder = shared.string(),
  });
  if (!form.Load()) throw std::runtime_error("the window did not start");
  double seconds = 0;
  {
    gui::controls::ControlServices services(*form.Connection(), standin.DataSources());
    gui::MainWindow window(form, services);
    window.show();
    QCoreApplication::processEvents();
    if (!window.Jobs().Load(job)) throw std::runtime_error("the window refused the job");
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    form.cmdConvert().Click();
    seconds = Seconds(start);
    if (form.Run()->LastResult().totalUpdated == 0) throw std::runtime_error("nothing converted");
  }
  form.Unload();
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 20000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const fs::path folder =
      fs::temp_directory_path() / ("ordavel-window-bench-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  setenv("ORDAVEL_REGISTRY", (folder / "registry").c_str(), 1);
  gui::controls::PrepareHighDpi();
  QApplication application(argc, argv);
  gui::controls::UsePlatformFont(application);
  gui::controls::MuteOffscreenNotes();
  int status = 0;
  try {
    const fs::path site = folder / "site";
    const fs::path shared = erp::createSampleSite(site, ORDAVEL_RUNTIME_LIBRARIES).sharedData;
    erp::generateCompany(site, {"BENCH", "Benchmark Ltd.", {{"customers", count}}});
    erp::SiteDatabase siteDb{erp::SiteLayout(shared)};
    siteDb.grantCompany("ADMIN", "BENCH");
    const fs::path job = folder / "customers.ini";
    std::ofstream(job) << "[Run]\nCompany=BENCH\nUser=ADMIN\nTab=AR\n\n[chkCustomers]\n"
                          "Checked=Yes\n\n[SalesFromGrid]\nTaxGroup=ONGSTPST\nClasses=1,1\n\n"
                          "[SalesToGrid]\nTaxGroup=ONHST\nClasses=1\n";
    const fs::path database = erp::SiteLayout(shared).companyDatabase("BENCH");
    double batch = 1e9;
    double window = 1e9;
    for (int round = 0; round < rounds; ++round) {
      ResetCustomers(database);
      batch = std::min(batch, RunBatch(job));
      ResetCustomers(database);
      window =
          std::min(window, RunWindow(shared, job, siteDb.createDesktopSession("ADMIN", "BENCH")));
    }
    const double ratio = window / batch;
    std::printf("window vs ordavel-batch, %zu customers: %.2f s vs %.2f s (ratio %.2f)\n", count,
                window, batch, ratio);
    std::printf("window within %.2fx of ordavel-batch          %s\n", kTargetRatio,
                ratio <= kTargetRatio ? "yes" : "NO");
  } catch (const std::exception& error) {
    std::cerr << "window_batch_bench: " << error.what() << '\n';
    status = 1;
  }
  fs::remove_all(folder);
  return status;
}
