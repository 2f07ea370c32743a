#pragma once

#include "host/webapi/WebApiAddress.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace httplib {
class Client;
}

namespace host::webapi {

/// How the client talks to the server: timeouts, the certificates it trusts, and how often and
/// how patiently it asks again.
struct TransportSettings {
  std::chrono::seconds connectTimeout{10};
  /// How long an answer may take; a slower server fails the request.
  std::chrono::seconds readTimeout{60};
  /// A PEM file of the certificate authorities to trust for HTTPS; empty: the system's store.
  std::string caFile;
  /// The most times one request is sent when the server is busy or briefly unreachable.
  int maxAttempts = 6;
  /// The wait before the second attempt; each further wait doubles, up to `longestWait`.
  std::chrono::milliseconds firstWait{500};
  std::chrono::milliseconds longestWait{30000};
};

/// A request as the client makes it; the transport adds the address, credentials and headers.
struct HttpRequest {
  std::string method;  ///< "GET" or "PATCH"
  std::string target;  ///< the path below the server, with its query
  std::string body{};
  std::string accept = "application/json";
};

/// The server's answer.
struct HttpResponse {
  int status = 0;
  std::string body;
};

/// What the transport has done so far, for progress reports and benchmarks.
struct TransportCounts {
  long requests = 0;  ///< sent, retries included
  long retries = 0;
};

/// The HTTP connection to one Web API server, with HTTP Basic authentication and JSON bodies.
/// A busy answer (429 TooManyRequests, 503) is asked again after a growing wait, or the one the
/// server names, and so is one that could not reach the server at all; a reading request is also
/// asked again after other server failures (5xx) and a broken connection. A request that
/// changes data is never sent twice unless the server said it did nothing.
class WebApiTransport {
 public:
  WebApiTransport(WebApiAddress address, TransportSettings settings);
  ~WebApiTransport();
  WebApiTransport(const WebApiTransport&) = delete;
  WebApiTransport& operator=(const WebApiTransport&) = delete;

  const WebApiAddress& Address() const { return address_; }
  /// The user and password every request carries from now on.
  void SetCredentials(const std::string& user, const std::string& password);
  /// Sends a request; `rereadable` says it may be sent again after an unclear failure. Returns
  /// the final answer, whatever its status; throws WebApiFailure when there is none.
  HttpResponse Send(const HttpRequest& request, bool rereadable);
  TransportCounts Counts() const { return counts_; }
  /// Replaces the wait between attempts, for tests that must not sleep.
  void SetSleep(std::function<void(std::chrono::milliseconds)> sleep) { sleep_ = std::move(sleep); }

 private:
  HttpResponse SendOnce(const HttpRequest& request, std::string& retryAfter);
  std::chrono::milliseconds WaitBefore(int attempt, const std::string& retryAfter) const;

  WebApiAddress address_;
  TransportSettings settings_;
  std::unique_ptr<httplib::Client> client_;
  TransportCounts counts_;
  bool unreachable_ = false;
  std::function<void(std::chrono::milliseconds)> sleep_;
};

}  // namespace host::webapi
