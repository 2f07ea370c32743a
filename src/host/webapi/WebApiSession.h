#pragma once

#include "host/ErrorDisplay.h"
#include "host/ErrorListView.h"
#include "host/Session.h"
#include "host/SessionManager.h"
#include "host/SignonDialog.h"
#include "host/webapi/WebApiCompany.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace host::webapi {

/// Where a program on the Web API finds its server and keeps its files.
struct WebApiSettings {
  WebApiAddress address;
  TransportSettings transport{};
  /// Each company's conversion logs, change files and claims go to its own folder below this one.
  std::filesystem::path logRoot;
  /// The user's own key that signs change files, as the server keeps no secret for programs;
  /// empty for change files without a key (which no undo trusts).
  std::filesystem::path keyFile{};
};

/// The key file of the user running the program: webapi-change-files.key in the program's
/// settings folder (platform::UserConfigFolder).
std::filesystem::path DefaultKeyFile();

/// A company signed on through the Web API, as the program's session.
class WebApiSession : public host::Session {
 public:
  WebApiSession(std::shared_ptr<WebApiCompany> company, std::filesystem::path logFolder,
                host::CompanyAccess access, std::filesystem::path keyFile = {},
                std::string address = {});

  std::string CompanyID() const override { return company_->CompanyId(); }
  std::string UserID() const override { return company_->UserId(); }
  /// There is no shared-data folder; the log folder's parent stands in for it.
  std::string SharedDataFolder() const override { return logFolder_.parent_path().string(); }
  std::string LogFolder() const override { return logFolder_.string(); }
  std::string WebApiAddress() const override { return address_; }
  host::ErrorCollection& Errors() override { return company_->Errors(); }
  void RemoveValue(const std::string&) override {}
  std::string ReadValue(const std::string&, size_t) const override { return {}; }
  std::shared_ptr<DatabaseLink> OpenDBLink(int type, int flags) override;
  /// The user's key file's key, made when `create` and there is none; the server has no place
  /// for it. Raises platform::UserSecretError for a key file others could have read or planted.
  std::string ChangeFileKey(bool create) override;

  WebApiCompany& Company() const { return *company_; }

 private:
  std::shared_ptr<WebApiCompany> company_;
  std::filesystem::path logFolder_;
  host::CompanyAccess access_;
  std::filesystem::path keyFile_;
  std::string address_;
};

/// Asks for the credentials of a sign-on; `refusal` and `fault` say why the last were refused.
using CredentialsAsker =
    std::function<std::optional<SignonCredentials>(const std::string& refusal, SignonField fault)>;

/// Signs on to a Web API server: a sign-on is the test requests of WebApiCompany::Connect with
/// the credentials asked for, and is asked again after a refusal until the asker gives up. A
/// key file that cannot be used refuses the sign-on, so that nothing is converted whose change
/// file no undo would trust. What
/// the server's metadata rules out is shown in `notices` as warnings once signed on.
class WebApiSessionManager : public host::SessionManager {
 public:
  /// `maps` and `notices` must outlive the manager.
  WebApiSessionManager(WebApiSettings settings, const PropertyMaps& maps, CredentialsAsker ask,
                       ErrorListView& notices,
                       host::CompanyAccess access = host::CompanyAccess::ReadWrite);

  void SetAppID(const std::string&) override {}
  void SetAppVersion(const std::string&) override {}
  void SetProgramName(const std::string&) override {}
  void SetServerName(const std::string&) override {}
  bool NewSignon() const override { return true; }
  void SetNewSignon(bool) override {}
  /// Signs on; a desktop's object handle cannot be joined through the Web API.
  CreatedSession CreateSession(const std::string& objectHandle) override;
  void CloseSession(std::int32_t) override {}

 private:
  std::filesystem::path LogFolderOf(const std::string& company) const;

  WebApiSettings settings_;
  const PropertyMaps& maps_;
  CredentialsAsker ask_;
  ErrorListView& notices_;
  host::CompanyAccess access_;
  std::int32_t signons_ = 0;
};

/// The ERP's error display for Web API sessions: shows the session's list in a host view.
class WebApiErrorDisplay : public host::ErrorDisplay {
 public:
  /// `view` must outlive the display.
  explicit WebApiErrorDisplay(ErrorListView& view) : view_(view) {}

  void Put(host::Session& session, const std::string& source, int priority, const std::string& text,
           const std::string& help, const std::string& helpFile, int helpId) override;
  void Show(host::Session& session) override;
  void Clear(host::Session& session) override;

 private:
  ErrorListView& view_;
};

/// An error list shown as lines on a stream: "Error: text", "Warning: text".
class StreamErrorListView : public ErrorListView {
 public:
  explicit StreamErrorListView(std::ostream& out) : out_(out) {}
  void Show(const std::vector<ErrorListEntry>& entries) override;

 private:
  std::ostream& out_;
};

}  // namespace host::webapi
