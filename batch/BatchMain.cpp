#include "app/Form1.h"
#include "batch/JobFile.h"
#include "batch/Runner.h"
#include "batch/ShownErrors.h"
#include "batch/TerminalPrompt.h"
#include "erp/site/ErpErrorDisplay.h"
#include "host/standin/StandinHost.h"
#include "util/XdgShell.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <clocale>
#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>

namespace {

std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int) {
  interrupted.store(true);
}

class ConsoleNotifier : public util::Notifier {
 public:
  void critical(const std::string& text) override { std::cerr << text << '\n'; }
};

// The job's criteria are typed in full, so the filter window is never opened to build one.
class NoFilterWindow : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
};

/// Where the sign-on password comes from: a descriptor, an owner-only file, or else
/// ORDAVEL_PASSWORD or the terminal.
struct PasswordOptions {
  int fd = -1;
  std::string file;

  std::string Read() const {
    if (fd >= 0) return batch::ReadPasswordFromDescriptor(fd);
    if (!file.empty()) return batch::ReadPasswordFile(file);
    return batch::ReadPassword(std::cin, std::cerr);
  }
};

int Run(const std::string& jobPath, bool yes, const PasswordOptions& password) {
  batch::Job job;
  try {
    job = batch::ReadJobFile(jobPath);
  } catch (const batch::JobFileError& error) {
    std::cerr << error.what() << '\n';
    return batch::kRefused;
  }
  host::standin::StandinHost standin;
  ConsoleNotifier notifier;
  const std::string sharedData = standin.ReadPaths(notifier).SharedDataPath();
  batch::JobSignonPrompt prompt(
      job.user, job.company, [&password] { return password.Read(); }, std::cerr);
  erp::ConsoleErrorDisplay display(std::cerr);
  host::HostServices host = standin.Services(sharedData, prompt, display);
  batch::ShownErrors shown;
  shown.Attach(host);

  batch::ConsoleMessages messages(std::cout, [yes](const std::string& question) {
    if (yes) return true;
    return batch::AskYesNo(question, std::cin, std::cout);
  });
  util::XdgShell shell;
  batch::InterruptPump pump(interrupted);
  NoFilterWindow filterWindow;
  app::Form1 window(app::Form1Services{
      .host = std::move(host),
      .readPaths = [&standin, &notifier] { return standin.ReadPaths(notifier); },
      .dataSources = standin.DataSources(),
      .messages = messages,
      .shell = shell,
      .notifier = notifier,
      .pump = pump,
      .filterWindow = filterWindow,
      .programFolder = std::filesystem::canonical("/proc/self/exe").parent_path().string(),
  });
  pump.OnInterrupt([&window] { window.cmdCancel().Click(); });
  if (!window.Load()) return batch::kCancelled;
  std::signal(SIGINT, OnInterrupt);
  batch::ExitStatus status = batch::RunJob(job, window, shown, std::cout);
  window.Unload();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // Log stamps show the date and time in the operator's regional settings.
  std::setlocale(LC_TIME, "");
  CLI::App app{"Runs a tax conversion job without the window.", "ordavel-batch"};
  std::string jobPath;
  bool yes = false;
  PasswordOptions password;
  app.add_option("JOBFILE", jobPath, "The INI job file")->required();
  app.add_flag("--yes", yes, "Answer Yes to the backup question");
  app.add_option("--password-fd", password.fd,
                 "Read the password from this open file descriptor (first line)");
  app.add_option("--password-file", password.file,
                 "Read the password from this file, which only you may read (first line)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : batch::kCancelled;
  }
  try {
    return Run(jobPath, yes, password);
  } catch (const std::exception& error) {
    std::cerr << "ordavel-batch: " << error.what() << '\n';
    return batch::kCancelled;
  }
}
