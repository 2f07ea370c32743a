#pragma once

#include "host/AccpacConnection.h"
#include "host/CredentialsPrompt.h"
#include "host/DataSource.h"
#include "host/webapi/WebApiHost.h"

#include "platform/tests/testsupport/TempFolder.h"
#include "standin/testsupport/TestCompany.h"
#include "standin/webapi/WebApiServer.h"

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace host::webapi::testing {

/// Gives the credentials of a script, one set per ask, and keeps the refusals it was told.
class ScriptedCredentials : public CredentialsPrompt {
 public:
  explicit ScriptedCredentials(std::vector<SignonCredentials> script)
      : script_(std::move(script)) {}
  std::optional<SignonCredentials> Ask(const std::string& refusal) override;
  std::vector<std::string> refusals;

 private:
  std::vector<SignonCredentials> script_;
  size_t next_ = 0;
};

/// A stand-in site with company SAMLTD (Tax Services and the six modules, the tax data of
/// TestCompany::addTaxData), users ADMIN (Web API for every module) and CLERK (Tax Services and
/// A/R only), both with password "pw", served by the stand-in's Web API server on a free
/// loopback port; a client host on it whose logs go to a temporary folder.
class ServedCompany {
 public:
  /// Serves the site with the server's `options`; the client waits at most `readTimeout` for an
  /// answer.
  explicit ServedCompany(erp::webapi::ServerOptions options = {},
                         std::chrono::seconds readTimeout = std::chrono::seconds(5));
  ~ServedCompany();

  erp::testing::TestCompany& data() { return *data_; }
  erp::webapi::WebApiServer& server() { return *server_; }
  WebApiHost& host() { return *host_; }
  const std::filesystem::path& logRoot() const { return logRoot_; }
  /// Client settings on this server that wait no longer than tests should.
  WebApiSettings settings() const;
  /// The requests the signed-on session sent, retries included.
  TransportCounts counts();

  /// Signs on as `user` with `password`; the connection's session is null when refused.
  AccpacConnection& signOn(const std::string& user = "ADMIN", const std::string& password = "pw",
                           const std::string& company = "SAMLTD",
                           CompanyAccess access = CompanyAccess::ReadWrite);
  AccpacConnection& connection() { return *connection_; }
  /// A data source on the read-write link, opened; `parent` composes a detail.
  std::unique_ptr<DataSource> open(const std::string& viewId, DataSource* parent = nullptr);
  /// What was shown to the operator, "Warning: ..." one line each.
  std::string shown() const { return shown_.str(); }
  /// Texts of the session's error list.
  std::vector<std::string> errorTexts();
  std::vector<std::string> refusals() const {
    return prompt_ ? prompt_->refusals : std::vector<std::string>{};
  }

 private:
  platform::testing::TempFolder temp_{"ordavel-webapi-"};
  std::filesystem::path logRoot_ = temp_.path() / "logs";
  std::chrono::seconds readTimeout_;
  std::unique_ptr<erp::testing::TestCompany> data_;
  std::unique_ptr<erp::webapi::WebApiServer> server_;
  std::unique_ptr<WebApiHost> host_;
  std::ostringstream shown_;
  StreamErrorListView view_{shown_};
  std::unique_ptr<ScriptedCredentials> prompt_;
  std::unique_ptr<AccpacConnection> connection_;
};

}  // namespace host::webapi::testing
