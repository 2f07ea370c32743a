#include "standin/webapi/Credentials.h"

#include "platform/Text.h"
#include "standin/webapi/WebApiError.h"

#include <sodium.h>

#include <stdexcept>

namespace erp::webapi {
namespace {

WebApiError unauthorized(const std::string& message) {
  return WebApiError(401, "Unauthorized", message);
}

std::string decodeBase64(const std::string& text) {
  std::string decoded(text.size(), '\0');
  size_t length = 0;
  if (sodium_base642bin(reinterpret_cast<unsigned char*>(decoded.data()), decoded.size(),
                        text.data(), text.size(), nullptr, &length, nullptr,
                        sodium_base64_VARIANT_ORIGINAL) != 0) {
    throw unauthorized("The Basic credentials are not valid Base64.");
  }
  decoded.resize(length);
  return decoded;
}

}  // namespace

Credentials::Credentials(const SiteDatabase& site) : site_(site) {
  if (sodium_init() < 0) throw std::runtime_error("The password library could not be initialised.");
  randombytes_buf(key_.data(), key_.size());
}

Credentials::Digest Credentials::digest(const std::string& hash,
                                        const std::string& password) const {
  Digest result{};
  std::string input = hash;
  input += '\0';
  input += password;
  crypto_generichash(result.data(), result.size(),
                     reinterpret_cast<const unsigned char*>(input.data()), input.size(),
                     key_.data(), key_.size());
  sodium_memzero(input.data(), input.size());
  return result;
}

std::string Credentials::authenticate(const std::string& authorization) {
  const std::string header = platform::Trim(authorization);
  if (header.empty()) throw unauthorized("The request has no credentials.");
  if (header.size() < 6 || !platform::EqualsIgnoreCase(header.substr(0, 6), "Basic ")) {
    throw unauthorized("Only Basic authentication is supported.");
  }
  const std::string pair = decodeBase64(platform::Trim(header.substr(6)));
  const size_t colon = pair.find(':');
  if (colon == std::string::npos) throw unauthorized("The Basic credentials have no password.");
  const std::string user = platform::UpperCase(pair.substr(0, colon));
  const std::string password = pair.substr(colon + 1);
  const std::optional<std::string> hash = site_.passwordHash(user);
  if (hash) {
    const Digest presented = digest(*hash, password);
    const auto known = verified_.find(user);
    if (known != verified_.end() &&
        sodium_memcmp(known->second.data(), presented.data(), presented.size()) == 0) {
      return user;
    }
    if (verifyPassword(*hash, password)) {
      verified_[user] = presented;
      return user;
    }
  } else {
    // An unknown user costs a full check too, so that timing does not tell which IDs exist.
    site_.checkPassword(user, password);
  }
  throw unauthorized("Invalid user ID or password.");
}

}  // namespace erp::webapi
