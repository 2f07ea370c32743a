#include "standin/webapi/WebApiServer.h"

#include "standin/sample/SiteFolder.h"
#include "standin/webapi/ResourcePath.h"
#include "standin/webapi/WebApiError.h"
#include "standin/webapi/WebApiService.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

namespace erp::webapi {
namespace {

// A PATCH of one record is small; a larger body is refused before it is read whole.
constexpr size_t kMaxBody = 1 << 20;

std::unique_ptr<httplib::Server> makeServer(const ServerOptions& options) {
  if (options.certificate.empty() != options.privateKey.empty()) {
    throw std::invalid_argument("HTTPS needs both a certificate and its private key.");
  }
  if (options.certificate.empty()) return std::make_unique<httplib::Server>();
  auto server =
      std::make_unique<httplib::SSLServer>(options.certificate.c_str(), options.privateKey.c_str());
  if (!server->is_valid()) {
    throw std::runtime_error("The certificate " + options.certificate.string() +
                             " or its private key cannot be used.");
  }
  return server;
}

Request requestOf(const httplib::Request& http, const std::string& scheme,
                  const std::string& fallbackHost) {
  Request request;
  request.method = http.method;
  request.path = http.path;
  for (const auto& [name, value] : http.params) request.query.emplace_back(name, value);
  request.authorization = http.get_header_value("Authorization");
  request.contentType = http.get_header_value("Content-Type");
  const std::string host = http.get_header_value("Host");
  request.origin = scheme + "://" + (host.empty() ? fallbackHost : host);
  request.body = http.body;
  return request;
}

}  // namespace

WebApiServer::WebApiServer(const ServerOptions& options)
    : options_(options),
      service_(std::make_unique<WebApiService>(sharedDataOf(options.site),
                                               EntityModel(options.hidden), options.pageSize)),
      server_(makeServer(options)) {
  if (options.pageSize < 1) throw std::invalid_argument("The page size must be 1 or more.");
  if (options.tooManyRequests < 0 || options.delayMs < 0) {
    throw std::invalid_argument("--too-many-requests and --delay take 0 or more.");
  }
  server_->set_payload_max_length(kMaxBody);
  // A response goes out in two writes (headers, body); without this the second waits for the
  // client's delayed acknowledgement, some 40 ms per request on loopback.
  server_->set_tcp_nodelay(true);
  route();
  if (options.port == 0) {
    port_ = server_->bind_to_any_port(options.host);
  } else if (server_->bind_to_port(options.host, options.port)) {
    port_ = options.port;
  }
  if (port_ <= 0) {
    throw std::runtime_error("Cannot listen on " + options.host + ":" +
                             std::to_string(options.port) + ".");
  }
}

WebApiServer::~WebApiServer() {
  stop();
}

std::string WebApiServer::baseUrl() const {
  const std::string host =
      options_.host.find(':') != std::string::npos ? "[" + options_.host + "]" : options_.host;
  return std::string(options_.certificate.empty() ? "http" : "https") + "://" + host + ":" +
         std::to_string(port_) + std::string(kRootPath);
}

void WebApiServer::route() {
  const std::string scheme = options_.certificate.empty() ? "http" : "https";
  auto handler = [this, scheme](const httplib::Request& http, httplib::Response& answer) {
    if (options_.delayMs > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(options_.delayMs));
    }
    const long long number = ++requests_;
    Response response;
    if (options_.tooManyRequests > 0 && number % options_.tooManyRequests == 0) {
      response = {429,
                  "application/json; charset=utf-8",
                  errorPayload("TooManyRequests", "Too many requests; try again in a second."),
                  {{"Retry-After", "1"}}};
    } else {
      response =
          service_->handle(requestOf(http, scheme, options_.host + ":" + std::to_string(port_)));
    }
    answer.status = response.status;
    for (const auto& [name, value] : response.headers) answer.set_header(name, value);
    answer.set_content(response.body, response.contentType.c_str());
  };
  server_->Get(".*", handler);
  server_->Patch(".*", handler);
  server_->Put(".*", handler);
  server_->Post(".*", handler);
  server_->Delete(".*", handler);
}

void WebApiServer::start() {
  if (thread_.joinable()) return;
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

void WebApiServer::stop() {
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

}  // namespace erp::webapi
