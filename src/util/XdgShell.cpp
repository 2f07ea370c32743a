#include "util/XdgShell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

extern char** environ;

namespace util {
namespace {

constexpr int kStarted = 42;
constexpr int kNotFound = 2;
/// How long the launcher may take to say that it found no program. A launcher still running
/// then has started a program and waits for it (xdg-open does so on some desktops).
constexpr long kVerdictMs = 3000;
constexpr long kPollMs = 20;

long ElapsedMs(const timespec& since) {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - since.tv_sec) * 1000 + (now.tv_nsec - since.tv_nsec) / 1000000;
}

// Runs in the forked child, so it keeps to calls that are safe there. The launcher's own exit
// status is its verdict: xdg-open exits non-zero when the desktop has no program for the target.
[[noreturn]] void LaunchAndReport(char** argv) {
  ::setsid();
  pid_t launcher = 0;
  if (::posix_spawnp(&launcher, argv[0], nullptr, nullptr, argv, environ) != 0) ::_exit(1);
  timespec start{};
  ::clock_gettime(CLOCK_MONOTONIC, &start);
  const timespec pause{0, kPollMs * 1000000};
  while (ElapsedMs(start) < kVerdictMs) {
    int status = 0;
    const pid_t done = ::waitpid(launcher, &status, WNOHANG);
    if (done == launcher) ::_exit(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1);
    if (done < 0 && errno != EINTR) ::_exit(1);
    ::nanosleep(&pause, nullptr);
  }
  ::_exit(0);
}

// Starts the program from an intermediate child that reports the program's verdict through its
// exit status and then leaves it to init, so that it never becomes our zombie and we never wait
// for the viewer it started.
bool StartDetached(const std::string& program, const std::string& argument) {
  std::string programCopy = program;
  std::string argumentCopy = argument;
  std::vector<char*> argv = {programCopy.data(), argumentCopy.data(), nullptr};

  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) LaunchAndReport(argv.data());
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

XdgShell::XdgShell(std::string program) : program_(std::move(program)) {}

std::string XdgShell::Unquoted(const std::string& target) {
  if (target.size() >= 2 && target.front() == '"' && target.back() == '"') {
    return target.substr(1, target.size() - 2);
  }
  return target;
}

int XdgShell::Open(const std::string& target) {
  return StartDetached(program_, Unquoted(target)) ? kStarted : kNotFound;
}

bool XdgShell::Explore(const std::string& folder) {
  return StartDetached(program_, Unquoted(folder));
}

}  // namespace util
