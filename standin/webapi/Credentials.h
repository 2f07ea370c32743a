#pragma once

#include "standin/site/SiteDatabase.h"

#include <array>
#include <map>
#include <string>

namespace erp::webapi {

/// Checks the HTTP Basic credentials of requests against the site's users, with the password
/// hashes the sign-on checks. A verified password is remembered (as a keyed digest that changes
/// with the stored hash), so that a client sending the same credentials with every request pays
/// the deliberately slow hash once, not per request.
class Credentials {
 public:
  explicit Credentials(const SiteDatabase& site);

  /// The user ID of an `Authorization: Basic ...` header; throws WebApiError (401
  /// Unauthorized) when it is missing, malformed, or the user ID or password is wrong.
  std::string authenticate(const std::string& authorization);

 private:
  using Digest = std::array<unsigned char, 32>;
  Digest digest(const std::string& hash, const std::string& password) const;

  const SiteDatabase& site_;
  std::array<unsigned char, 32> key_{};
  std::map<std::string, Digest> verified_;
};

}  // namespace erp::webapi
