#include "batch/TerminalPrompt.h"

#include <cctype>
#include <cstdlib>

#include <termios.h>
#include <unistd.h>

namespace batch {
namespace {

/// Turns terminal echo off for its lifetime when standard input is a terminal.
class NoEcho {
 public:
  NoEcho() {
    if (::isatty(STDIN_FILENO) == 0 || ::tcgetattr(STDIN_FILENO, &saved_) != 0) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
  }
  ~NoEcho() {
    if (active_) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
  }
  NoEcho(const NoEcho&) = delete;
  NoEcho& operator=(const NoEcho&) = delete;

 private:
  termios saved_{};
  bool active_ = false;
};

}  // namespace

std::string ReadPassword(std::istream& in, std::ostream& out) {
  if (const char* password = std::getenv("ORDAVEL_PASSWORD")) return password;
  out << "Password: " << std::flush;
  std::string password;
  {
    NoEcho quiet;
    std::getline(in, password);
  }
  out << '\n';
  return password;
}

bool AskYesNo(const std::string& question, std::istream& in, std::ostream& out) {
  std::string answer;
  while (true) {
    out << question << " [y/n] " << std::flush;
    if (!std::getline(in, answer)) return false;
    auto first = answer.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(answer[first])));
    if (letter == 'y') return true;
    if (letter == 'n') return false;
  }
}

JobSignonPrompt::JobSignonPrompt(std::string user, std::string company,
                                 std::function<std::string()> password, std::ostream& out)
    : user_(std::move(user)),
      company_(std::move(company)),
      password_(std::move(password)),
      out_(out) {}

std::optional<erp::Credentials> JobSignonPrompt::ask(const std::string& message) {
  if (!message.empty()) {
    refused_ = true;
    out_ << "Sign-on refused: " << message << '\n';
    return std::nullopt;
  }
  return erp::Credentials{user_, password_(), company_};
}

}  // namespace batch
