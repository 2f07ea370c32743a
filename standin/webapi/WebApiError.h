#pragma once

#include <stdexcept>
#include <string>

namespace erp::webapi {

/// A refusal of a request, answered with an HTTP status and the ERP's error payload
/// `{"error":{"code":CODE,"message":{"lang":"en-US","value":MESSAGE}}}`. The codes are the ERP's:
/// Unauthorized, Forbidden, TooManyRequests, InvalidParameters, InvalidEntityKey, InvalidPayload,
/// RecordNotFound, RecordDuplicate, RecordInvalid, General, SessionError, DBLinkError.
class WebApiError : public std::runtime_error {
 public:
  WebApiError(int status, std::string code, const std::string& message)
      : std::runtime_error(message), status_(status), code_(std::move(code)) {}

  int status() const { return status_; }
  const std::string& code() const { return code_; }

 private:
  int status_;
  std::string code_;
};

/// A query option, path or filter the server does not take: 400 InvalidParameters.
inline WebApiError invalidParameters(const std::string& message) {
  return WebApiError(400, "InvalidParameters", message);
}

/// A body that is not what the entity set takes: 400 InvalidPayload.
inline WebApiError invalidPayload(const std::string& message) {
  return WebApiError(400, "InvalidPayload", message);
}

/// A key in the URL that does not name a record of the entity set: 400 InvalidEntityKey.
inline WebApiError invalidEntityKey(const std::string& message) {
  return WebApiError(400, "InvalidEntityKey", message);
}

/// The error payload of a refusal, as JSON text.
std::string errorPayload(const std::string& code, const std::string& message);

}  // namespace erp::webapi
