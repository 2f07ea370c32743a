#pragma once

#include "host/SignonDialog.h"

#include <optional>
#include <string>

namespace host {

/// Gives the credentials of a sign-on without a dialog: a job's user and company with a password
/// from the terminal or a file, or a test's script.
class CredentialsPrompt {
 public:
  virtual ~CredentialsPrompt() = default;

  /// The credentials to sign on with; `refusal` is empty on the first ask, else why the ERP
  /// refused the last ones. nullopt gives up.
  virtual std::optional<SignonCredentials> Ask(const std::string& refusal) = 0;
};

}  // namespace host
