#pragma once

#include <string>

namespace host::webapi {

/// The base address of an ERP's Web API, up to and including "/-/", such as
/// "https://erp.example/Sage300WebApi/v1.0/-/".
struct WebApiAddress {
  std::string scheme;  ///< "http" or "https"
  std::string host;    ///< a name or an address; an IPv6 address in brackets
  int port = 0;
  std::string path;  ///< starts and ends with "/", the last segment "-"

  /// "scheme://host:port", what a connection is opened to.
  std::string Origin() const;
  /// The whole base address.
  std::string Text() const { return Origin() + path; }
  /// A folder name for the server's files: its host, and its port when not the scheme's own.
  std::string FolderName() const;
};

/// Reads a base address; throws std::invalid_argument saying what is wrong. An address that
/// carries a user or password is refused, so that no password ends up in a command line or a log.
WebApiAddress ParseWebApiAddress(const std::string& url);

}  // namespace host::webapi
