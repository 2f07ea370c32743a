#include "batch/JobDescription.h"
#include "batch/JobQueue.h"
#include "batch/TerminalPrompt.h"
#include "batch/UndoRun.h"
#include "host/standin/StandinHost.h"
#include "host/webapi/WebApiHost.h"
#include "platform/Text.h"
#include "standin/site/ErpErrorDisplay.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <atomic>
#include <clocale>
#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>

namespace {

std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int) {
  interrupted.store(true);
}

class ConsoleNotifier : public util::Notifier {
 public:
  void Critical(const std::string& text) override { std::cerr << text << '\n'; }
};

/// Where the sign-on password comes from: a descriptor, an owner-only file, or else
/// ORDAVEL_PASSWORD or the terminal.
struct PasswordOptions {
  std::optional<int> fd;
  std::optional<std::string> file;

  std::string Read() const {
    if (fd) return batch::ReadPasswordFromDescriptor(*fd);
    if (file) return batch::ReadPasswordFile(*file);
    return batch::ReadPassword(std::cin, std::cerr);
  }
};

/// Refuses an option written as `--name=` with nothing after it, which the parser would
/// otherwise take as the option without its value and fill from the next word.
void RefuseEmptyValues(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--") return;
    if (word.starts_with("--") && word.size() > 3 && word.back() == '=') {
      const std::string name = word.substr(0, word.size() - 1);
      throw CLI::ValidationError(name + " needs a value, but \"" + word + "\" gives none.");
    }
  }
}

/// What one call of the program does; each mode has its own entry below.
enum class Mode {
  RunJobs,      ///< JOB...: convert
  List,         ///< --list [TAB]: describe the sections and keys of jobs
  Skeleton,     ///< --skeleton TAB: write a job with every key
  Undo,         ///< --undo CHANGEFILE: put back what a run changed
  WebApiCheck,  ///< --web-api-check URL: what a Web API server lets the program convert
};

/// Where the ERP's Web API is and how the program talks to it; nothing given means the local ERP.
struct WebApiOptions {
  std::optional<std::string> url;        ///< --web-api, else the jobs' WebApi
  std::optional<std::string> logFolder;  ///< --log-folder, else the jobs' LogFolder
  std::string caFile;
  std::string mapFile;
  std::optional<int> timeout;
  std::string checkUrl;
  std::string user = "ADMIN";
};

/// The command line: what to do and with which options.
struct Options {
  Mode Chosen() const {
    if (!webApi.checkUrl.empty()) return Mode::WebApiCheck;
    if (listTab) return Mode::List;
    if (!skeletonTab.empty()) return Mode::Skeleton;
    if (!undoFile.empty()) return Mode::Undo;
    return Mode::RunJobs;
  }

  std::vector<std::string> jobs;
  std::vector<std::string> companies;
  std::optional<std::string> recordsPerCommit;  ///< unset when each job's own or the default holds
  bool yes = false;
  bool preview = false;
  std::string undoFile;
  PasswordOptions password;
  std::optional<std::string> listTab;  ///< --list, with its tab or empty for all
  std::string skeletonTab;
  WebApiOptions webApi;
};

/// A job's refusal of the Web API settings: "file:line: problem".
class WebApiRefusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The one value the jobs give for a [Run] key, or nothing; jobs that disagree are refused, as
/// one call converts on one server.
std::optional<std::string> AgreedValue(const std::vector<batch::QueuedJob>& queue,
                                       batch::JobValue batch::Job::*key, const char* name) {
  const batch::Job* first = nullptr;
  for (const batch::QueuedJob& queued : queue) {
    const batch::JobValue& value = queued.job.*key;
    if (value.line == 0) continue;
    if (!first) {
      first = &queued.job;
    } else if ((first->*key).text != value.text) {
      throw WebApiRefusal(queued.job.Where(value.line) + name + " differs from the one of " +
                          first->file + "; the jobs of one call run on one server.");
    }
  }
  if (!first) return std::nullopt;
  for (const batch::QueuedJob& queued : queue) {
    if ((queued.job.*key).line == 0) {
      throw WebApiRefusal(queued.job.file + ": gives no " + name + ", but " + first->file +
                          " does; the jobs of one call run on one server.");
    }
  }
  return (first->*key).text;
}

/// The Web API settings of a call, or nothing for the local ERP. An option's value overrides
/// the jobs'; a value that cannot be used throws CLI::ValidationError for an option and
/// WebApiRefusal for a job.
std::optional<host::webapi::WebApiSettings> WebApiSettingsOf(
    const WebApiOptions& options, const std::vector<batch::QueuedJob>& queue) {
  std::optional<std::string> url = options.url;
  const bool fromJob = !url;
  if (!url) url = AgreedValue(queue, &batch::Job::webApi, "WebApi");
  if (!url) return std::nullopt;
  host::webapi::WebApiSettings settings;
  try {
    settings.address = host::webapi::ParseWebApiAddress(*url);
  } catch (const std::invalid_argument& error) {
    if (!fromJob) throw CLI::ValidationError("--web-api: " + std::string(error.what()));
    const batch::QueuedJob& job = queue.front();
    throw WebApiRefusal(job.job.Where(job.job.webApi.line) + error.what());
  }
  std::optional<std::string> folder = options.logFolder;
  if (!folder) folder = AgreedValue(queue, &batch::Job::logFolder, "LogFolder");
  settings.logRoot =
      folder ? std::filesystem::absolute(*folder) : host::webapi::DefaultLogRoot(settings.address);
  settings.keyFile = host::webapi::DefaultKeyFile();
  settings.transport.caFile = options.caFile;
  if (options.timeout) settings.transport.readTimeout = std::chrono::seconds(*options.timeout);
  return settings;
}

/// The administrator's corrections of property names, when a map file is given.
host::webapi::MapOverrides MapOverridesOf(const WebApiOptions& options) {
  if (options.mapFile.empty()) return {};
  return host::webapi::ReadMapFile(options.mapFile);
}

/// The ERP a call converts on: the stand-in installation the registry records, or a Web API
/// server when one is given.
class Backend {
 public:
  Backend(const std::optional<host::webapi::WebApiSettings>& webApi,
          const host::webapi::MapOverrides& overrides) {
    if (webApi) {
      webApi_.emplace(*webApi, overrides);
    } else {
      sharedData_ = standin_.ReadPaths(notifier).SharedDataPath();
    }
  }

  host::HostServices Services(host::CredentialsPrompt& prompt, host::CompanyAccess access) {
    if (webApi_) return webApi_->Services(prompt, errorList_, access);
    return standin_.Services(sharedData_, prompt, display_, {}, access);
  }
  /// Reads the installation's folders; nothing for a Web API server, which has none here.
  std::function<host::AccpacPaths()> ReadPaths() {
    if (webApi_) return {};
    return [this] { return standin_.ReadPaths(notifier); };
  }
  host::DataSourceFactory& DataSources() {
    return webApi_ ? webApi_->DataSources() : standin_.DataSources();
  }

  ConsoleNotifier notifier;

 private:
  host::standin::StandinHost standin_;
  std::string sharedData_;
  erp::ConsoleErrorDisplay display_{std::cerr};
  std::optional<host::webapi::WebApiHost> webApi_;
  host::webapi::StreamErrorListView errorList_{std::cerr};
};

int RunJobs(const Options& options) {
  std::vector<batch::QueuedJob> queue;
  if (options.Chosen() == Mode::RunJobs) {
    try {
      queue = batch::QueueJobs(options.jobs, options.companies);
    } catch (const batch::JobFileError& error) {
      std::cerr << error.what() << '\n';
      return batch::kRefused;
    }
  }
  if (options.recordsPerCommit) {
    for (batch::QueuedJob& queued : queue) {
      queued.job.recordsPerCommit = *batch::ParseRecordsPerCommit(*options.recordsPerCommit);
    }
  }
  // Start-up moves into the ERP's runtime folder, so the change file is opened from here first,
  // and a wrong one is refused before the password is asked for.
  std::unique_ptr<convert::ChangeFileToUndo> undoFile;
  const std::string undoCompany = options.companies.empty() ? "" : options.companies.front();
  if (options.Chosen() == Mode::Undo) {
    if (options.companies.size() > 1) throw std::runtime_error("--undo takes one --company.");
    undoFile = batch::OpenChangeFile(std::filesystem::absolute(options.undoFile).string(),
                                     undoCompany, std::cout);
    if (!undoFile) return batch::kRefused;
  }
  std::optional<host::webapi::WebApiSettings> webApiSettings;
  host::webapi::MapOverrides overrides;
  try {
    webApiSettings = WebApiSettingsOf(options.webApi, queue);
    overrides = MapOverridesOf(options.webApi);
  } catch (const WebApiRefusal& refusal) {
    std::cerr << refusal.what() << '\n';
    return batch::kRefused;
  } catch (const std::invalid_argument& problems) {
    std::cerr << problems.what() << '\n';
    return batch::kRefused;
  }
  Backend backend(webApiSettings, overrides);
  // A PATCH is saved at once and cannot be undone with others: the conversion commits each record
  // alone through the Web API, which the operator is told, not the logs.
  if (webApiSettings && options.Chosen() == Mode::RunJobs && !options.preview) {
    std::cout << "Converting through the Web API at " << webApiSettings->address.Text()
              << ": every record is saved on its own (records per commit 1).\n";
  }
  // One password serves every job, so a descriptor or a terminal is read only once.
  const std::string password = options.password.Read();
  batch::ConsoleMessages messages(std::cout);
  batch::InterruptPump pump(interrupted);
  batch::Workstation station{
      .services = [&backend](
                      host::CredentialsPrompt& prompt,
                      host::CompanyAccess access) { return backend.Services(prompt, access); },
      .readPaths = backend.ReadPaths(),
      .dataSources = backend.DataSources(),
      .messages = messages,
      .confirm =
          [yes = options.yes](const std::string& question) {
            return yes || batch::AskYesNo(question, std::cin, std::cout);
          },
      .pump = pump,
      .interrupts = pump,
      .password = [&password] { return password; },
      .errors = std::cerr,
  };
  batch::ProgressDisplay progress(std::cout, ::isatty(STDOUT_FILENO) == 1,
                                  [] { return std::chrono::steady_clock::now(); });
  std::signal(SIGINT, OnInterrupt);
  if (undoFile) return batch::UndoChanges(*undoFile, station, std::cout);
  return batch::RunJobs(queue, station, progress, std::cout, options.preview);
}

/// Signs on to a Web API server and prints what it lets the program convert.
int CheckWebApi(const Options& options) {
  if (options.companies.size() != 1) {
    throw CLI::ValidationError("--web-api-check needs one --company, the company to check.");
  }
  WebApiOptions settings = options.webApi;
  settings.url = settings.checkUrl;
  std::optional<host::webapi::WebApiSettings> webApi = WebApiSettingsOf(settings, {});
  // A check converts nothing, so it neither needs nor makes the key of change files.
  webApi->keyFile.clear();
  host::webapi::WebApiHost host(*webApi, MapOverridesOf(options.webApi));
  return host::webapi::CheckServer(host, platform::UpperCase(options.webApi.user),
                                   platform::UpperCase(options.companies.front()),
                                   options.password.Read(), std::cout);
}

int Run(const Options& options) {
  switch (options.Chosen()) {
    case Mode::WebApiCheck:
      return CheckWebApi(options);
    case Mode::List:
      batch::PrintJobList(std::cout, options.listTab->empty()
                                         ? std::vector<std::string>{}
                                         : std::vector<std::string>{*options.listTab});
      return batch::kComplete;
    case Mode::Skeleton:
      batch::WriteSkeleton(std::cout, options.skeletonTab);
      return batch::kComplete;
    case Mode::RunJobs:
    case Mode::Undo:
      break;
  }
  return RunJobs(options);
}

}  // namespace

int main(int argc, char** argv) {
  // Log stamps show the date and time in the operator's regional settings.
  std::setlocale(LC_TIME, "");
  CLI::App app{"Runs tax conversion jobs without the window.", "ordavel-batch"};
  Options options;
  auto* jobs = app.add_option("JOB", options.jobs, "INI job files, run in this order");
  auto* list = app.add_option("--list", options.listTab,
                              "Print the sections and keys of a job for TAB (every tab without)")
                   ->expected(0, 1)
                   ->default_str("");
  auto* skeleton = app.add_option("--skeleton", options.skeletonTab,
                                  "Write a job file for TAB with every key, commented");
  auto* preview = app.add_flag("--preview", options.preview,
                               "Take the jobs' records through the views and save nothing; the "
                               "change file tells what a conversion would do");
  auto* undo = app.add_option("--undo", options.undoFile,
                              "Put back what the run of this change file converted");
  list->excludes(jobs)->excludes(skeleton)->excludes(undo)->excludes(preview);
  skeleton->excludes(jobs)->excludes(undo)->excludes(preview);
  undo->excludes(jobs)->excludes(preview);
  app.add_option("--company", options.companies,
                 "Run the jobs on this company instead of the one each names; repeat it to run "
                 "them on several companies in turn")
      ->allow_extra_args(false)
      ->take_all();
  app.add_option("--records-per-commit", options.recordsPerCommit,
                 "Commit N records together in every job (default: each job's RecordsPerCommit, "
                 "else 100); 1 commits each record alone")
      ->type_name("N");
  app.add_flag("--yes", options.yes, "Answer Yes to the backup question");
  auto* webApi = app.add_option("--web-api", options.webApi.url,
                                "Convert through the ERP's Web API at URL, its base address up "
                                "to and including /-/ (also [Run] WebApi)")
                     ->type_name("URL");
  app.add_option("--log-folder", options.webApi.logFolder,
                 "With the Web API: keep each company's logs and change files in a folder of its "
                 "own below DIR (also [Run] LogFolder)")
      ->type_name("DIR");
  app.add_option("--web-api-ca", options.webApi.caFile,
                 "Trust the certificate authorities in this PEM file for HTTPS, not the system's")
      ->check(CLI::ExistingFile)
      ->type_name("FILE");
  app.add_option("--web-api-map", options.webApi.mapFile,
                 "Property names and company options of this Web API server that differ from "
                 "the published ones")
      ->check(CLI::ExistingFile)
      ->type_name("FILE");
  app.add_option("--web-api-timeout", options.webApi.timeout,
                 "Seconds a Web API answer may take (default 60)")
      ->check(CLI::Range(1, 3600))
      ->type_name("SECONDS");
  auto* check = app.add_option("--web-api-check", options.webApi.checkUrl,
                               "Sign on to the Web API at URL and tell for every kind of record "
                               "whether it can be converted there (with one --company)")
                    ->type_name("URL");
  app.add_option("--user", options.webApi.user,
                 "The user --web-api-check signs on as (default ADMIN)");
  check->excludes(jobs)
      ->excludes(list)
      ->excludes(skeleton)
      ->excludes(undo)
      ->excludes(preview)
      ->excludes(webApi);
  std::optional<std::string> passwordFd;
  app.add_option("--password-fd", passwordFd,
                 "Read the password from this open file descriptor (first line)")
      ->type_name("N");
  app.add_option("--password-file", options.password.file,
                 "Read the password from this file, which only you may read (first line)");
  try {
    RefuseEmptyValues(argc, argv);
    app.parse(argc, argv);
    if (options.recordsPerCommit && !batch::ParseRecordsPerCommit(*options.recordsPerCommit)) {
      throw CLI::ValidationError(
          batch::RecordsPerCommitProblem("--records-per-commit", *options.recordsPerCommit));
    }
    if (passwordFd) {
      options.password.fd = batch::ParsePasswordDescriptor(*passwordFd);
      if (!options.password.fd) {
        throw CLI::ValidationError(
            "--password-fd needs the number of an open file descriptor, "
            "not \"" +
            *passwordFd + "\".");
      }
    }
    for (const std::string* url :
         {options.webApi.url ? &*options.webApi.url : nullptr,
          options.webApi.checkUrl.empty() ? nullptr : &options.webApi.checkUrl}) {
      try {
        if (url) host::webapi::ParseWebApiAddress(*url);
      } catch (const std::invalid_argument& error) {
        throw CLI::ValidationError(error.what());
      }
    }
    if (options.password.file && options.password.file->empty()) {
      throw CLI::ValidationError("--password-file needs the name of a file.");
    }
    if (options.Chosen() == Mode::RunJobs && options.jobs.empty()) {
      throw CLI::RequiredError("JOB");
    }
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : batch::kCancelled;
  }
  try {
    return Run(options);
  } catch (const std::exception& error) {
    std::cerr << "ordavel-batch: " << error.what() << '\n';
    return batch::kCancelled;
  }
}
