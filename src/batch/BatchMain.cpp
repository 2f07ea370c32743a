#include "batch/BatchBackend.h"
#include "batch/JobDescription.h"
#include "batch/JobQueue.h"
#include "batch/PlanFile.h"
#include "batch/PlanProcesses.h"
#include "batch/PlanRun.h"
#include "batch/PlanRunFile.h"
#include "batch/TerminalPrompt.h"
#include "batch/UndoRun.h"
#include "platform/Text.h"

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
  RunJobs,       ///< JOB...: convert
  List,          ///< --list [TAB]: describe the sections and keys of jobs
  Skeleton,      ///< --skeleton TAB: write a job with every key
  Undo,          ///< --undo CHANGEFILE: put back what a run changed
  WebApiCheck,   ///< --web-api-check URL: what a Web API server lets the program convert
  Plan,          ///< --plan PLAN: carry out a tax-change plan
  SkeletonPlan,  ///< --skeleton-plan: write a plan with every key
};

/// The command line: what to do and with which options.
struct Options {
  Mode Chosen() const {
    if (!webApi.checkUrl.empty()) return Mode::WebApiCheck;
    if (listTab) return Mode::List;
    if (!skeletonTab.empty()) return Mode::Skeleton;
    if (!undoFile.empty()) return Mode::Undo;
    if (!planFile.empty()) return Mode::Plan;
    if (skeletonPlan) return Mode::SkeletonPlan;
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
  batch::WebApiOptions webApi;
  std::string planFile;
  bool skeletonPlan = false;
  int parallel = 1;
  bool checkOnly = false;
  /// Set in a company's process of a parallel plan: the company it runs the plan on.
  std::string planCompany;
};

/// The arguments of a company's process of a parallel plan.
std::vector<std::string> ChildArgumentsOf(const Options& options, const std::string& plan,
                                          const std::string& company) {
  // The parent has asked the backup question for every company.
  std::vector<std::string> words{"--plan",
                                 plan,
                                 "--plan-company",
                                 company,
                                 "--yes",
                                 "--password-fd",
                                 std::to_string(batch::kPasswordDescriptor)};
  if (options.preview) words.push_back("--preview");
  if (options.recordsPerCommit) {
    words.push_back("--records-per-commit");
    words.push_back(*options.recordsPerCommit);
  }
  // A company's process converts on the same ERP as the plan's, or it would convert another.
  const batch::WebApiOptions& webApi = options.webApi;
  const auto pass = [&words](const char* option, const std::string& value) {
    if (value.empty()) return;
    words.push_back(option);
    words.push_back(value);
  };
  pass("--web-api", webApi.url.value_or(""));
  pass("--log-folder", webApi.logFolder.value_or(""));
  pass("--web-api-ca", webApi.caFile);
  pass("--web-api-map", webApi.mapFile);
  if (webApi.timeout) pass("--web-api-timeout", std::to_string(*webApi.timeout));
  return words;
}

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
  std::optional<convert::Plan> plan;
  if (options.Chosen() == Mode::Plan) {
    if (!options.companies.empty()) {
      throw std::runtime_error(
          "--plan runs on the companies its plan names; it takes no --company.");
    }
    try {
      plan = batch::ReadPlanFile(std::filesystem::absolute(options.planFile).string());
    } catch (const batch::JobFileError& error) {
      std::cerr << error.what() << '\n';
      return batch::kRefused;
    }
  }
  const std::string planRun =
      options.Chosen() == Mode::Undo && batch::IsPlanRunFile(options.undoFile)
          ? std::filesystem::absolute(options.undoFile).string()
          : "";
  if (!planRun.empty() && !options.companies.empty()) {
    throw std::runtime_error("--undo of a plan run takes no --company.");
  }
  if (options.Chosen() == Mode::Undo && planRun.empty()) {
    if (options.companies.size() > 1) throw std::runtime_error("--undo takes one --company.");
    undoFile = batch::OpenChangeFile(std::filesystem::absolute(options.undoFile).string(),
                                     undoCompany, std::cout);
    if (!undoFile) return batch::kRefused;
  }
  std::optional<host::webapi::WebApiSettings> webApiSettings;
  host::webapi::MapOverrides overrides;
  try {
    webApiSettings = batch::WebApiSettingsOf(options.webApi, queue);
    overrides = batch::MapOverridesOf(options.webApi);
  } catch (const batch::WebApiRefusal& refusal) {
    std::cerr << refusal.what() << '\n';
    return batch::kRefused;
  } catch (const std::invalid_argument& problems) {
    std::cerr << problems.what() << '\n';
    return batch::kRefused;
  }
  batch::Backend backend(webApiSettings, overrides);
  // A PATCH is saved at once and cannot be undone with others: the conversion commits each record
  // alone through the Web API, which the operator is told, not the logs.
  const bool converts = options.Chosen() == Mode::RunJobs ||
                        (options.Chosen() == Mode::Plan && options.planCompany.empty());
  if (webApiSettings && converts && !options.preview) {
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
      .companiesOf = backend.CompaniesOf(),
  };
  batch::ProgressDisplay progress(std::cout, ::isatty(STDOUT_FILENO) == 1,
                                  [] { return std::chrono::steady_clock::now(); });
  std::signal(SIGINT, OnInterrupt);
  if (undoFile) return batch::UndoChanges(*undoFile, station, std::cout);
  if (!planRun.empty()) return batch::UndoPlanRun(planRun, station, std::cout);
  if (plan) {
    if (options.recordsPerCommit) {
      plan->recordsPerCommit = *batch::ParseRecordsPerCommit(*options.recordsPerCommit);
    }
    if (options.checkOnly) return batch::CheckPlanOnly(*plan, station, std::cout);
    if (!options.planCompany.empty()) {
      return batch::RunPlanAsChild(*plan, options.planCompany, station, progress, std::cout,
                                   options.preview);
    }
    if (options.parallel > 1) {
      return batch::RunPlanInParallel(*plan, station, std::cout, options.preview, options.parallel,
                                      [&options, &plan](const std::string& company) {
                                        return ChildArgumentsOf(options, plan->file, company);
                                      });
    }
    return batch::RunPlan(*plan, station, progress, std::cout, options.preview);
  }
  return batch::RunJobs(queue, station, progress, std::cout, options.preview);
}

/// Signs on to a Web API server and prints what it lets the program convert.
int CheckWebApi(const Options& options) {
  if (options.companies.size() != 1) {
    throw CLI::ValidationError("--web-api-check needs one --company, the company to check.");
  }
  batch::WebApiOptions settings = options.webApi;
  settings.url = settings.checkUrl;
  std::optional<host::webapi::WebApiSettings> webApi = batch::WebApiSettingsOf(settings, {});
  // A check converts nothing, so it neither needs nor makes the key of change files.
  webApi->keyFile.clear();
  host::webapi::WebApiHost host(*webApi, batch::MapOverridesOf(options.webApi));
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
    case Mode::SkeletonPlan:
      batch::WriteSkeletonPlan(std::cout);
      return batch::kComplete;
    case Mode::RunJobs:
    case Mode::Undo:
    case Mode::Plan:
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
                              "Put back what the run of this change file converted, or every "
                              "run of a plan-run file");
  auto* planOption = app.add_option("--plan", options.planFile,
                                    "Carry out a tax-change plan on every company it names");
  auto* skeletonPlan =
      app.add_flag("--skeleton-plan", options.skeletonPlan, "Write a commented tax-change plan");
  auto* parallel =
      app.add_option("--parallel", options.parallel,
                     "Convert up to N companies of the plan at once, each in a process of its own")
          ->type_name("N")
          ->check(CLI::Range(1, 16));
  parallel->needs(planOption);
  app.add_flag("--check", options.checkOnly,
               "Only check the plan on every company: nothing is converted or previewed")
      ->needs(planOption)
      ->excludes(preview)
      ->excludes(parallel);
  // A company's process of a parallel plan: the parent speaks to it on fixed descriptors.
  app.add_option("--plan-company", options.planCompany)->group("")->needs(planOption);
  planOption->excludes(jobs)->excludes(undo)->excludes(skeleton)->excludes(skeletonPlan);
  skeletonPlan->excludes(jobs)->excludes(undo)->excludes(preview)->excludes(skeleton);
  list->excludes(jobs)->excludes(skeleton)->excludes(undo)->excludes(preview);
  list->excludes(planOption)->excludes(skeletonPlan);
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
