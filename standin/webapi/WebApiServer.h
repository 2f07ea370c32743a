#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace erp::webapi {

class WebApiService;

/// How `erp webapi` serves a site.
struct ServerOptions {
  std::filesystem::path site;  ///< the site folder (as `erp sample` makes it) or its SharedData
  std::string host = "127.0.0.1";
  int port = 0;  ///< 0 picks a free port
  int pageSize = 100;
  std::vector<std::string> hidden;    ///< kinds or entity sets served without their taxes
  int tooManyRequests = 0;            ///< answer every Nth request with 429; 0 never
  int delayMs = 0;                    ///< wait this long before answering each request
  std::filesystem::path certificate;  ///< with `privateKey`: serve HTTPS
  std::filesystem::path privateKey;
};

/// The stand-in's Web API served over HTTP (or HTTPS) on one address, in threads of its own.
class WebApiServer {
 public:
  /// Binds the address; throws std::runtime_error (or std::invalid_argument for bad options)
  /// when it cannot, before anything is served.
  explicit WebApiServer(const ServerOptions& options);
  /// Stops serving.
  ~WebApiServer();
  WebApiServer(const WebApiServer&) = delete;
  WebApiServer& operator=(const WebApiServer&) = delete;

  /// The port it listens on (the one picked when 0 was asked).
  int port() const { return port_; }
  /// The base address clients are given, up to and including `/-/`.
  std::string baseUrl() const;

  /// Serves in a background thread until stop().
  void start();
  /// Stops serving and waits for the thread; calling it twice does nothing.
  void stop();

 private:
  void route();

  ServerOptions options_;
  std::unique_ptr<WebApiService> service_;
  std::unique_ptr<httplib::Server> server_;
  int port_ = 0;
  std::thread thread_;
  std::atomic<long long> requests_{0};
};

}  // namespace erp::webapi
