#include "batch/PlanProcesses.h"

#include "batch/PlanRun.h"
#include "batch/Runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace batch {
namespace {

/// Descriptors of a process are moved up here, so that none of them is already one of the
/// fixed numbers the child reads (a dup2 onto itself would keep it closed on exec).
constexpr int kFirstFreeDescriptor = 10;

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    done += static_cast<size_t>(written);
  }
}

/// Reads up to the first new line (without it); what came before the end when there is none.
std::string ReadLine(int fd) {
  std::string line;
  char c = 0;
  while (true) {
    const ssize_t got = ::read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') return line;
    line += c;
  }
}

std::string ReadRest(int fd) {
  std::string text;
  char buffer[4096];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return text;
    text.append(buffer, static_cast<size_t>(got));
  }
}

int Moved(int fd) {
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, kFirstFreeDescriptor);
  ::close(fd);
  if (moved < 0) throw std::runtime_error("A descriptor for a company's process is lacking.");
  return moved;
}

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("No pipe for a company's process.");
    read = Moved(fds[0]);
    write = Moved(fds[1]);
  }
};

/// One company's process, seen from the parent.
struct Child {
  std::string company;
  pid_t pid = -1;
  int gate = -1;    ///< the parent writes go or stop here
  int report = -1;  ///< the child's report comes from here
  int output = -1;  ///< an unlinked file with everything the child printed
  bool ready = false;
  int status = kCancelled;
};

std::string ProgramPath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) throw std::runtime_error("This program cannot find itself to start a process.");
  return path.string();
}

Child Spawn(const std::string& company, const std::string& program,
            const std::vector<std::string>& arguments, const std::string& password) {
  Child child;
  child.company = company;
  Pipe gate, report, secret;
  WriteAll(secret.write, password + "\n");
  ::close(secret.write);
  std::string name = (std::filesystem::temp_directory_path() / "ordavel-plan-XXXXXX").string();
  const int output = ::mkostemp(name.data(), O_CLOEXEC);
  if (output < 0) throw std::runtime_error("No file for the output of a company's process.");
  ::unlink(name.c_str());
  child.output = Moved(output);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, child.output, 1);
  posix_spawn_file_actions_adddup2(&actions, child.output, 2);
  posix_spawn_file_actions_adddup2(&actions, gate.read, kGateDescriptor);
  posix_spawn_file_actions_adddup2(&actions, report.write, kReportDescriptor);
  posix_spawn_file_actions_adddup2(&actions, secret.read, kPasswordDescriptor);
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int failed =
      ::posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(gate.read);
  ::close(report.write);
  ::close(secret.read);
  child.gate = gate.write;
  child.report = report.read;
  if (failed != 0) {
    ::close(child.gate);
    child.gate = -1;
    child.pid = -1;
  }
  return child;
}

void Tell(Child& child, const char* word) {
  if (child.gate < 0) return;
  WriteAll(child.gate, std::string(word) + "\n");
  ::close(child.gate);
  child.gate = -1;
}

std::string OutputOf(const Child& child) {
  ::lseek(child.output, 0, SEEK_SET);
  return ReadRest(child.output);
}

}  // namespace

std::string ReportOf(const std::vector<JobResult>& results) {
  std::ostringstream report;
  for (const JobResult& job : results) {
    report << "job\t" << (job.status ? std::to_string(*job.status) : "-") << '\t' << job.company
           << '\t' << job.job << '\t' << job.changeFile.string() << '\n';
    for (const KindResult& kind : job.kinds) {
      const convert::KindCounts& counts = kind.outcome.counts;
      report << "kind\t" << kind.kind << '\t' << counts.records << '\t' << counts.updated << '\t'
             << counts.skipped << '\t' << counts.notAffected << '\t' << counts.failed << '\t'
             << kind.outcome.endedByError << '\t' << kind.outcome.cancelled << '\n';
    }
  }
  return report.str();
}

std::vector<JobResult> ResultsOf(const std::string& report, bool preview) {
  std::vector<JobResult> results;
  std::istringstream lines(report);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    std::istringstream split(line);
    for (std::string cell; std::getline(split, cell, '\t');) cells.push_back(cell);
    if (cells.size() == 5 && cells[0] == "job") {
      JobResult job{cells[3], cells[2], {}, {}, preview, cells[4]};
      if (cells[1] != "-") job.status = static_cast<ExitStatus>(std::atoi(cells[1].c_str()));
      results.push_back(std::move(job));
    } else if (cells.size() == 9 && cells[0] == "kind" && !results.empty()) {
      auto number = [&cells](size_t i) { return std::atoi(cells[i].c_str()); };
      results.back().kinds.push_back({cells[1],
                                      {{number(2), number(3), number(4), number(6), number(5)},
                                       number(7) != 0,
                                       number(8) != 0}});
    }
  }
  return results;
}

ExitStatus RunPlanAsChild(const convert::Plan& plan, const std::string& company,
                          Workstation& station, ProgressDisplay& progress, std::ostream& out,
                          bool preview) {
  bool asked = false;
  const auto gate = [&asked, &out] {
    asked = true;
    out.flush();
    WriteAll(kReportDescriptor, "ready\n");
    return ReadLine(kGateDescriptor) == "go";
  };
  std::vector<JobResult> results;
  const ExitStatus status =
      CheckAndRunPlan(plan, {company}, station, progress, out, preview, results, gate);
  WriteAll(kReportDescriptor, (asked ? "" : "refused\n") + ReportOf(results));
  ::close(kReportDescriptor);
  return status;
}

ExitStatus RunPlanInParallel(const convert::Plan& plan, Workstation& station, std::ostream& out,
                             bool preview, int parallel, const ChildArguments& arguments) {
  out << "Plan: " << (plan.title.empty() ? plan.file : plan.title) << '\n';
  const std::vector<std::string> companies = PlanCompanies(plan, station, out);
  if (companies.empty()) {
    out << plan.file << " is refused:\n"
        << plan.Where(plan.companiesLine) << "the plan has no company to run on.\n";
    return kRefused;
  }
  const std::string program = ProgramPath();
  const std::string password = station.password();
  std::vector<Child> children;
  for (const std::string& company : companies) {
    children.push_back(Spawn(company, program, arguments(company), password));
  }
  // Every company is checked and claimed before any converts.
  bool allReady = true;
  for (Child& child : children) {
    child.ready = child.pid > 0 && ReadLine(child.report) == "ready";
    allReady = allReady && child.ready;
  }
  if (allReady && !preview) {
    allReady = station.confirm(kBackupQuestion);
  }
  size_t next = 0;
  int running = 0;
  const auto startNext = [&] {
    while (allReady && next < children.size() && running < parallel) {
      Tell(children[next++], "go");
      ++running;
    }
  };
  if (allReady) {
    startNext();
  } else {
    for (Child& child : children) Tell(child, "stop");
  }
  size_t spawned = 0;
  for (const Child& child : children) spawned += child.pid > 0 ? 1 : 0;
  for (size_t done = 0; done < spawned;) {
    int raw = 0;
    const pid_t pid = ::waitpid(-1, &raw, 0);
    if (pid < 0 && errno == EINTR) continue;
    if (pid < 0) break;
    for (Child& child : children) {
      if (child.pid != pid) continue;
      child.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : kCancelled;
      --running;
      ++done;
    }
    startNext();
  }
  std::vector<JobResult> results;
  ExitStatus status = kComplete;
  for (Child& child : children) {
    out << OutputOf(child);
    for (JobResult& result : ResultsOf(ReadRest(child.report), preview)) {
      results.push_back(std::move(result));
    }
    status = Worst(status, static_cast<ExitStatus>(child.status));
    ::close(child.report);
    ::close(child.output);
  }
  if (!allReady) {
    out << (preview ? "Nothing was previewed.\n" : "Nothing was converted.\n");
    return Worst(status, kRefused);
  }
  FinishPlan(plan, results, out, preview);
  return status;
}

}  // namespace batch
