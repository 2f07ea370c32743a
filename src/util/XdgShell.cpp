#include "util/XdgShell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

extern char** environ;

namespace util {
namespace {

constexpr int kStarted = 42;
constexpr int kNotFound = 2;

// Starts the program in a grandchild so that it never becomes our zombie and we do not wait for
// the viewer; the intermediate child reports through its exit status whether the start worked.
bool StartDetached(const std::string& program, const std::string& argument) {
  std::string programCopy = program;
  std::string argumentCopy = argument;
  std::vector<char*> argv = {programCopy.data(), argumentCopy.data(), nullptr};

  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    ::setsid();
    pid_t grandchild = 0;
    const int rc = ::posix_spawnp(&grandchild, argv[0], nullptr, nullptr, argv.data(), environ);
    ::_exit(rc == 0 ? 0 : 1);
  }
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

void XdgShell::Explore(const std::string& folder) {
  StartDetached(program_, Unquoted(folder));
}

}  // namespace util
