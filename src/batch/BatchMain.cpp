#include "batch/JobDescription.h"
#include "batch/JobQueue.h"
#include "batch/PlanFile.h"
#include "batch/PlanProcesses.h"
#include "batch/PlanRun.h"
#include "batch/PlanRunFile.h"
#include "batch/TerminalPrompt.h"
#include "batch/UndoRun.h"
#include "host/standin/StandinHost.h"
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
  RunJobs,       ///< JOB...: convert
  List,          ///< --list [TAB]: describe the sections and keys of jobs
  Skeleton,      ///< --skeleton TAB: write a job with every key
  Undo,          ///< --undo CHANGEFILE: put back what a run changed
  Plan,          ///< --plan PLAN: carry out a tax-change plan
  SkeletonPlan,  ///< --skeleton-plan: write a plan with every key
};

/// The command line: what to do and with which options.
struct Options {
  Mode Chosen() const {
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
  host::standin::StandinHost standin;
  ConsoleNotifier notifier;
  const std::string sharedData = standin.ReadPaths(notifier).SharedDataPath();
  // One password serves every job, so a descriptor or a terminal is read only once.
  const std::string password = options.password.Read();
  erp::ConsoleErrorDisplay display(std::cerr);
  batch::ConsoleMessages messages(std::cout);
  batch::InterruptPump pump(interrupted);
  batch::Workstation station{
      .services =
          [&](host::CredentialsPrompt& prompt, host::CompanyAccess access) {
            return standin.Services(sharedData, prompt, display, {}, access);
          },
      .readPaths = [&standin, &notifier] { return standin.ReadPaths(notifier); },
      .dataSources = standin.DataSources(),
      .messages = messages,
      .confirm =
          [yes = options.yes](const std::string& question) {
            return yes || batch::AskYesNo(question, std::cin, std::cout);
          },
      .pump = pump,
      .interrupts = pump,
      .password = [&password] { return password; },
      .errors = std::cerr,
      .companiesOf =
          [&sharedData](const std::string& user) {
            return host::standin::StandinHost::CompaniesOf(sharedData, user);
          },
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

int Run(const Options& options) {
  switch (options.Chosen()) {
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
