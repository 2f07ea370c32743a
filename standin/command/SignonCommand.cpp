#include "standin/command/Commands.h"

#include "standin/site/ErpSessionManager.h"
#include "standin/site/SiteDatabase.h"

#include <CLI/CLI.hpp>

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace erp {
namespace {

/// Gives the command line's credentials once; a refusal is kept instead of asking again.
class CommandLinePrompt : public SignonPrompt {
 public:
  explicit CommandLinePrompt(Credentials credentials) : credentials_(std::move(credentials)) {}

  std::optional<Credentials> ask(const std::string& message) override {
    if (!message.empty()) {
      refusal_ = message;
      return std::nullopt;
    }
    return credentials_;
  }

  const std::string& refusal() const { return refusal_; }

 private:
  Credentials credentials_;
  std::string refusal_;
};

struct SignonOptions {
  std::string folder;
  std::string user;
  std::string company;
};

void signOn(const SignonOptions& options) {
  // Opened first, so that a wrong folder is reported before the password is asked.
  SiteDatabase site{SiteLayout(options.folder)};
  CommandLinePrompt prompt(
      {options.user, readPassword("Password for " + options.user + ": "), options.company});
  SessionManager manager(options.folder, prompt);
  const CreateResult result = manager.createSession("");
  if (!result.session) {
    throw std::runtime_error(prompt.refusal().empty() ? "The sign-on was cancelled."
                                                      : prompt.refusal());
  }
  const std::int32_t handle =
      site.createDesktopSession(result.session->userId(), result.session->companyId());
  manager.closeSession(result.signonId);
  std::cout << handle << '\n';
}

}  // namespace

std::string readPassword(const std::string& prompt) {
  if (const char* fromEnvironment = std::getenv("ORDAVEL_PASSWORD")) return fromEnvironment;

  std::cerr << prompt << std::flush;
  termios saved{};
  const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string password;
  const bool read = static_cast<bool>(std::getline(std::cin, password));
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
  }
  if (!read) throw std::runtime_error("No password was given.");
  return password;
}

void addSignonCommand(CLI::App& app) {
  auto options = std::make_shared<SignonOptions>();
  CLI::App* signon = app.add_subcommand(
      "signon", "Signs a user on to a company as a desktop session and prints its handle.");
  signon->add_option("DIR", options->folder, "Shared-data folder of the site")->required();
  signon->add_option("USER", options->user, "User ID")->required();
  signon->add_option("COMPANY", options->company, "Org ID of the company")->required();
  signon->callback([options] { signOn(*options); });
}

void addSignoffCommand(CLI::App& app) {
  auto folder = std::make_shared<std::string>();
  auto handle = std::make_shared<std::int32_t>(0);
  CLI::App* signoff = app.add_subcommand("signoff", "Ends a desktop session.");
  signoff->add_option("DIR", *folder, "Shared-data folder of the site")->required();
  signoff->add_option("HANDLE", *handle, "Handle that signon printed")->required();
  signoff->callback([folder, handle] {
    SiteDatabase site{SiteLayout(*folder)};
    if (!site.removeDesktopSession(*handle)) {
      throw std::runtime_error("There is no desktop session " + std::to_string(*handle) + ".");
    }
  });
}

}  // namespace erp
