#include "host/webapi/WebApiTransport.h"

#include "host/webapi/WebApiFailure.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <thread>

namespace host::webapi {
namespace {

bool Busy(int status) {
  return status == 429 || status == 503;
}

}  // namespace

WebApiTransport::WebApiTransport(WebApiAddress address, TransportSettings settings)
    : address_(std::move(address)),
      settings_(std::move(settings)),
      client_(std::make_unique<httplib::Client>(address_.Origin())),
      sleep_([](std::chrono::milliseconds wait) { std::this_thread::sleep_for(wait); }) {
  client_->set_connection_timeout(settings_.connectTimeout);
  client_->set_read_timeout(settings_.readTimeout);
  client_->set_write_timeout(settings_.readTimeout);
  client_->set_keep_alive(true);
  // A request whose body is sent apart from its headers must not wait for a delayed ACK.
  client_->set_tcp_nodelay(true);
  // A redirect could carry the credentials to another server.
  client_->set_follow_location(false);
  client_->enable_server_certificate_verification(true);
  if (!settings_.caFile.empty()) client_->set_ca_cert_path(settings_.caFile);
}

WebApiTransport::~WebApiTransport() = default;

void WebApiTransport::SetCredentials(const std::string& user, const std::string& password) {
  client_->set_basic_auth(user, password);
}

HttpResponse WebApiTransport::SendOnce(const HttpRequest& request, std::string& retryAfter) {
  ++counts_.requests;
  const auto sent = std::chrono::steady_clock::now();
  // Every request names JSON, as the ERP's server expects; a body's type comes with the body.
  httplib::Result result =
      request.method == "PATCH"
          ? client_->Patch(request.target, {{"Accept", request.accept}}, request.body,
                           "application/json")
          : client_->Get(request.target,
                         {{"Accept", request.accept}, {"Content-Type", "application/json"}});
  if (!result) {
    const httplib::Error error = result.error();
    const std::string where = "The Web API server at " + address_.Origin();
    if (error == httplib::Error::SSLServerVerification ||
        error == httplib::Error::SSLLoadingCerts) {
      throw WebApiFailure(WebApiFailure::Kind::Untrusted, 0, "",
                          where + " cannot be trusted: " + httplib::to_string(error) +
                              ". A server whose certificate comes from a private certificate "
                              "authority needs that authority's certificate (--web-api-ca).");
    }
    if (error == httplib::Error::Connection || error == httplib::Error::ConnectionTimeout ||
        error == httplib::Error::SSLConnection || error == httplib::Error::BindIPAddress) {
      throw WebApiFailure(WebApiFailure::Kind::NoConnection, 0, "",
                          where + " cannot be reached: " + httplib::to_string(error) + ".");
    }
    if (std::chrono::steady_clock::now() - sent >= settings_.readTimeout) {
      throw WebApiFailure(WebApiFailure::Kind::Timeout, 0, "",
                          where + " did not answer within " +
                              std::to_string(settings_.readTimeout.count()) + " seconds.");
    }
    throw WebApiFailure(WebApiFailure::Kind::NoAnswer, 0, "",
                        where + " broke the connection: " + httplib::to_string(error) + ".");
  }
  retryAfter = result->get_header_value("Retry-After");
  return {result->status, result->body};
}

std::chrono::milliseconds WebApiTransport::WaitBefore(int attempt,
                                                      const std::string& retryAfter) const {
  std::chrono::milliseconds wait = settings_.firstWait;
  for (int i = 1; i < attempt && wait < settings_.longestWait; ++i) wait *= 2;
  int seconds = 0;
  auto [end, error] =
      std::from_chars(retryAfter.data(), retryAfter.data() + retryAfter.size(), seconds);
  if (!retryAfter.empty() && error == std::errc() && end == retryAfter.data() + retryAfter.size()) {
    wait = std::max<std::chrono::milliseconds>(wait, std::chrono::seconds(seconds));
  }
  return std::min(wait, settings_.longestWait);
}

HttpResponse WebApiTransport::Send(const HttpRequest& request, bool rereadable) {
  // Once a server could not be reached with every attempt, each request after that tries once
  // until one is answered, so that a run fails its kinds fast instead of waiting for each.
  const int attempts = unreachable_ ? 1 : settings_.maxAttempts;
  for (int attempt = 1;; ++attempt) {
    const bool last = attempt >= attempts;
    std::string retryAfter;
    try {
      HttpResponse response = SendOnce(request, retryAfter);
      unreachable_ = false;
      const bool again = Busy(response.status) || (rereadable && response.status >= 500);
      if (!again || last) return response;
    } catch (const WebApiFailure& failure) {
      // A server that answers too slowly, or that cannot be trusted, is not helped by asking
      // again; a request that reached the server is asked again only when reading it twice does
      // no harm.
      const WebApiFailure::Kind kind = failure.What();
      const bool sent = kind != WebApiFailure::Kind::NoConnection;
      if (!sent && last) unreachable_ = true;
      if ((sent && !rereadable) || last || kind == WebApiFailure::Kind::Timeout ||
          kind == WebApiFailure::Kind::Untrusted) {
        throw;
      }
    }
    ++counts_.retries;
    sleep_(WaitBefore(attempt, retryAfter));
  }
}

}  // namespace host::webapi
