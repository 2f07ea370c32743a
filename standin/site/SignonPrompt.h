#pragma once

#include <optional>
#include <string>

namespace erp {

/// What an operator types to sign on.
struct Credentials {
  std::string user;
  std::string password;
  std::string company;
};

/// Asks the operator for sign-on credentials (a dialog, a terminal, or a test's script).
class SignonPrompt {
 public:
  virtual ~SignonPrompt() = default;

  /// Asks for credentials; `message` is empty on the first ask, else why the last ones were
  /// refused. nullopt means the operator cancelled.
  virtual std::optional<Credentials> ask(const std::string& message) = 0;
};

}  // namespace erp
