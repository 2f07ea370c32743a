#pragma once

#include <stdexcept>
#include <string>

namespace host::webapi {

/// A request the Web API server did not carry out: it answered with an error, or not at all.
/// The text is the server's message, or what kept the request from an answer; it never holds the
/// credentials.
class WebApiFailure : public std::runtime_error {
 public:
  /// Why there is no good answer.
  enum class Kind {
    Answered,      ///< an error status with the ERP's code and message
    NoConnection,  ///< the server could not be reached: nothing was sent
    Untrusted,     ///< the server's certificate could not be verified: nothing was sent
    NoAnswer,      ///< the connection broke after the request was sent
    Timeout,       ///< the server did not answer in time
  };

  WebApiFailure(Kind kind, int status, std::string code, const std::string& text)
      : std::runtime_error(text), kind_(kind), status_(status), code_(std::move(code)) {}

  Kind What() const { return kind_; }
  /// The HTTP status; 0 without an answer.
  int Status() const { return status_; }
  /// The ERP's error code ("RecordNotFound", ...); empty when there is none.
  const std::string& Code() const { return code_; }
  /// Whether the request surely changed nothing: the server refused it before doing anything.
  bool NothingDone() const {
    if (kind_ == Kind::NoConnection || kind_ == Kind::Untrusted) return true;
    return kind_ == Kind::Answered && (status_ < 500 || status_ == 501 || status_ == 503);
  }

 private:
  Kind kind_;
  int status_;
  std::string code_;
};

/// The failure an error answer stands for: the ERP's code and message from the body
/// (`{"error":{"code":...,"message":{"value":...}}}`, also as "odata.error" or with a plain
/// message), or the bare status when the body holds none.
WebApiFailure AnsweredFailure(int status, const std::string& body);

}  // namespace host::webapi
