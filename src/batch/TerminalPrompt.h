#pragma once

#include "host/CredentialsPrompt.h"

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace batch {

/// The sign-on password: ORDAVEL_PASSWORD when set, else typed on the terminal without echo.
std::string ReadPassword(std::istream& in, std::ostream& out);

/// The descriptor number `text` gives for --password-fd: digits only; nullopt for anything else.
std::optional<int> ParsePasswordDescriptor(const std::string& text);

/// The first line read from an open file descriptor, such as a pipe from a password manager;
/// throws std::runtime_error, naming --password-fd, when nothing can be read or the line is
/// empty.
std::string ReadPasswordFromDescriptor(int fd);

/// The first line of a plain file that only its owner may read or write (mode 0400 or 0600);
/// throws std::runtime_error, naming --password-file, when the file cannot be read, is no plain
/// file, lets anyone else in, or has an empty first line.
std::string ReadPasswordFile(const std::string& path);

/// Asks a yes/no question until the answer starts with y or n; end of input answers No.
bool AskYesNo(const std::string& question, std::istream& in, std::ostream& out);

/// Signs on once with the job's user and company; a refusal is printed and not retried.
class JobSignonPrompt : public host::CredentialsPrompt {
 public:
  JobSignonPrompt(std::string user, std::string company, std::function<std::string()> password,
                  std::ostream& out);
  std::optional<host::SignonCredentials> Ask(const std::string& refusal) override;
  /// Whether the ERP refused the credentials.
  bool Refused() const { return refused_; }

 private:
  std::string user_;
  std::string company_;
  std::function<std::string()> password_;
  std::ostream& out_;
  bool refused_ = false;
};

}  // namespace batch
