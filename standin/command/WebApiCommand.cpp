#include "standin/command/Commands.h"

#include "standin/webapi/WebApiServer.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace erp {
namespace {

struct WebApiOptions {
  webapi::ServerOptions server;
  std::string listen = "127.0.0.1:0";
};

/// Splits HOST:PORT (an IPv6 host in brackets) into the server's options.
void setListen(webapi::ServerOptions& server, const std::string& listen) {
  const size_t colon = listen.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == listen.size()) {
    throw std::invalid_argument("--listen takes HOST:PORT, such as 127.0.0.1:8080, not \"" +
                                listen + "\".");
  }
  std::string host = listen.substr(0, colon);
  if (host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  size_t end = 0;
  const std::string port = listen.substr(colon + 1);
  const int number = std::stoi(port, &end);
  if (end != port.size() || number < 0 || number > 65535) {
    throw std::invalid_argument("The port must be a number from 0 to 65535, not \"" + port + "\".");
  }
  server.host = host;
  server.port = number;
}

void serve(WebApiOptions& options) {
  setListen(options.server, options.listen);
  // The signals are taken by sigwait below; blocked before the server starts its threads, so
  // that none of them is interrupted by one.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  webapi::WebApiServer server(options.server);
  server.start();
  std::cout << "Serving the Web API of " << options.server.site.string() << " at "
            << server.baseUrl() << std::endl;
  int signal = 0;
  sigwait(&stopSignals, &signal);
  server.stop();
  std::cout << "Stopped." << std::endl;
}

}  // namespace

void addWebApiCommand(CLI::App& app) {
  auto options = std::make_shared<WebApiOptions>();
  CLI::App* webapi = app.add_subcommand(
      "webapi", "Serves the site's companies through the ERP's Web API until SIGINT or SIGTERM.");
  webapi->add_option("DIR", options->server.site, "Folder of the site (as erp sample makes it)")
      ->required();
  webapi
      ->add_option("--listen", options->listen,
                   "Address to listen on, HOST:PORT; port 0 picks a free one")
      ->capture_default_str();
  webapi->add_option("--page-size", options->server.pageSize, "Records per page of a feed")
      ->capture_default_str();
  webapi->add_option("--hide", options->server.hidden,
                     "Serve this kind (such as customers) or entity set (such as ARCustomers) "
                     "without its tax properties; may be repeated");
  webapi->add_option("--too-many-requests", options->server.tooManyRequests,
                     "Answer every Nth request with 429 TooManyRequests");
  webapi->add_option("--delay", options->server.delayMs,
                     "Wait this many milliseconds before answering each request");
  auto* certificate = webapi->add_option("--certificate", options->server.certificate,
                                         "Serve HTTPS with this PEM certificate");
  auto* key = webapi->add_option("--private-key", options->server.privateKey,
                                 "The PEM private key of the certificate");
  certificate->needs(key);
  key->needs(certificate);
  webapi->callback([options] { serve(*options); });
}

}  // namespace erp
