#include "batch/TerminalPrompt.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

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

namespace {

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

/// What the descriptor gives up to its first line break (or its end), at most about 64 KB.
std::string ReadUpToLineBreak(int fd) {
  std::string text;
  char buffer[512];
  ssize_t n = 0;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() < 65536) {
    text.append(buffer, static_cast<size_t>(n));
    if (text.find('\n') != std::string::npos) break;
  }
  if (n < 0)
    throw std::runtime_error(std::string("The password cannot be read: ") + std::strerror(errno) +
                             ".");
  return text;
}

}  // namespace

std::optional<int> ParsePasswordDescriptor(const std::string& text) {
  int fd = -1;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, fd);
  // A sign or a blank is no descriptor: -1 used to fall back to the prompt unnoticed.
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front())) ||
      error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return fd;
}

std::string ReadPasswordFromDescriptor(int fd) {
  const std::string option = "--password-fd " + std::to_string(fd) + ": ";
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0) {
    throw std::runtime_error(option + "file descriptor " + std::to_string(fd) + " is not open.");
  }
  // Nothing read is a password manager that failed, not an empty password.
  const std::string password = FirstLine(ReadUpToLineBreak(fd));
  if (password.empty()) throw std::runtime_error(option + "its first line is empty.");
  return password;
}

namespace {

/// The password file's first line; the descriptor is open on it.
std::string ReadOwnerOnlyFile(int fd, const std::string& option) {
  struct stat info {};
  const bool opened = ::fstat(fd, &info) == 0;
  // Only the owner's read, or read and write: any bit more lets someone else at the password.
  const mode_t mode = info.st_mode & 07777;
  if (!opened || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
      (mode != 0400 && mode != 0600)) {
    throw std::runtime_error(option +
                             "it must be a plain file of yours that nobody else may read or "
                             "write (chmod 600).");
  }
  const std::string password = FirstLine(ReadUpToLineBreak(fd));
  if (password.empty()) throw std::runtime_error(option + "its first line is empty.");
  return password;
}

}  // namespace

std::string ReadPasswordFile(const std::string& path) {
  const std::string option = "--password-file " + path + ": ";
  // Without O_NONBLOCK a pipe planted there would hold the program until someone writes to it.
  const platform::FileDescriptor file =
      platform::FileDescriptor::Open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (!file.Valid()) {
    throw std::runtime_error(option + "the file cannot be opened: " + std::strerror(errno) + ".");
  }
  return ReadOwnerOnlyFile(file.Get(), option);
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

std::optional<host::SignonCredentials> JobSignonPrompt::Ask(const std::string& refusal) {
  if (!refusal.empty()) {
    refused_ = true;
    out_ << "Sign-on refused: " << refusal << '\n';
    return std::nullopt;
  }
  return host::SignonCredentials{user_, password_(), company_};
}

}  // namespace batch
