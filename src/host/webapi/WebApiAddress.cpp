#include "host/webapi/WebApiAddress.h"

#include <cctype>
#include <charconv>
#include <stdexcept>

namespace host::webapi {
namespace {

[[noreturn]] void Refuse(const std::string& url, const std::string& why) {
  throw std::invalid_argument("The Web API address \"" + url + "\" " + why);
}

bool HostNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.';
}

int DefaultPort(const std::string& scheme) {
  return scheme == "https" ? 443 : 80;
}

}  // namespace

std::string WebApiAddress::Origin() const {
  return scheme + "://" + host + ":" + std::to_string(port);
}

std::string WebApiAddress::FolderName() const {
  std::string name;
  for (char c : host) name += HostNameChar(c) ? c : '_';
  if (port != DefaultPort(scheme)) name += "_" + std::to_string(port);
  return name;
}

WebApiAddress ParseWebApiAddress(const std::string& url) {
  WebApiAddress address;
  const size_t colon = url.find("://");
  if (colon == std::string::npos) Refuse(url, "must start with http:// or https://.");
  address.scheme = url.substr(0, colon);
  for (char& c : address.scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (address.scheme != "http" && address.scheme != "https") {
    Refuse(url, "must start with http:// or https://.");
  }
  const size_t authorityStart = colon + 3;
  const size_t slash = url.find('/', authorityStart);
  const std::string authority = url.substr(authorityStart, slash - authorityStart);
  if (authority.find('@') != std::string::npos) {
    Refuse(url, "must not hold a user or password; the sign-on asks for them.");
  }
  std::string port;
  if (!authority.empty() && authority.front() == '[') {
    const size_t close = authority.find(']');
    if (close == std::string::npos) Refuse(url, "has an IPv6 address without its closing ].");
    address.host = authority.substr(0, close + 1);
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != ':') Refuse(url, "has text after its IPv6 address.");
      port = authority.substr(close + 2);
    }
  } else {
    const size_t portColon = authority.find(':');
    address.host = authority.substr(0, portColon);
    if (portColon != std::string::npos) port = authority.substr(portColon + 1);
    for (char c : address.host) {
      if (!HostNameChar(c)) Refuse(url, "has a server name with a character it cannot hold.");
    }
  }
  if (address.host.empty() || address.host == "[]") Refuse(url, "names no server.");
  address.port = DefaultPort(address.scheme);
  if (!port.empty()) {
    auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), address.port);
    if (error != std::errc() || end != port.data() + port.size() || address.port < 1 ||
        address.port > 65535) {
      Refuse(url, "has a port that is not a number from 1 to 65535.");
    }
  }
  address.path = slash == std::string::npos ? "/" : url.substr(slash);
  if (address.path.find_first_of("?#") != std::string::npos) {
    Refuse(url, "must end at its path, without a query or fragment.");
  }
  if (address.path.ends_with("/-")) address.path += '/';
  if (!address.path.ends_with("/-/")) {
    Refuse(url,
           "must end with the \"/-/\" that precedes the company, as in "
           "https://erp.example/Sage300WebApi/v1.0/-/.");
  }
  return address;
}

}  // namespace host::webapi
