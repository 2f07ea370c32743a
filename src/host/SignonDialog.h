#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

/// A company of the site, as the sign-on dialog offers it.
struct SignonCompany {
  std::string id;
  std::string name;
};

/// What the operator types to sign on.
struct SignonCredentials {
  std::string userId;
  std::string password;
  std::string company;
};

/// The field of the sign-on dialog that a refusal is about.
enum class SignonField { None, UserID, Password, Company };

/// What the sign-on dialog is asked with: the site's companies and, after a refusal, the ERP's
/// message and the field at fault.
struct SignonRequest {
  std::vector<SignonCompany> companies;
  std::string refusal;  ///< empty on the first ask
  SignonField fault = SignonField::None;
};

/// The ERP's sign-on dialog: asked again after each refusal until the credentials are taken or
/// the operator cancels.
class SignonDialog {
 public:
  virtual ~SignonDialog() = default;

  /// The credentials the operator entered; nullopt when the operator cancelled.
  virtual std::optional<SignonCredentials> Ask(const SignonRequest& request) = 0;
};

}  // namespace host
