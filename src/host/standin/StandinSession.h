#pragma once

#include "host/AccpacConnection.h"
#include "host/DatabaseLink.h"
#include "host/DesktopLibrary.h"
#include "host/ErrorDisplay.h"
#include "host/Session.h"
#include "host/SessionManager.h"

#include "standin/site/ErpDatabaseLink.h"
#include "standin/site/ErpDesktopLibrary.h"
#include "standin/site/ErpErrorDisplay.h"
#include "standin/site/ErpSession.h"
#include "standin/site/ErpSessionManager.h"

#include <filesystem>
#include <memory>

namespace host::standin {

/// A stand-in ERP database link seen through the host interface.
class StandinDatabaseLink : public host::DatabaseLink {
 public:
  StandinDatabaseLink(std::shared_ptr<erp::DatabaseLink> link, host::Session& session);

  void Close() override { link_->close(); }
  int ActiveApplicationCount() const override;
  std::string ApplicationID(int index) const override;
  std::string ApplicationSecondID(int index) const override;
  std::vector<Variant> ReadOptionValues(const std::string& viewId,
                                        const std::vector<int>& fieldNumbers) const override;
  int TransactionBegin() override;
  void TransactionCommit() override;
  void TransactionRollback() override;
  int TransactionLevel() const override;

  /// The stand-in link, for opening data sources on it.
  const std::shared_ptr<erp::DatabaseLink>& ErpLink() const { return link_; }
  /// The session that opened the link.
  host::Session& OwnerSession() const { return session_; }

 private:
  std::shared_ptr<erp::DatabaseLink> link_;
  host::Session& session_;
};

/// A stand-in ERP session seen through the host interface.
class StandinSession : public host::Session, private host::ErrorCollection {
 public:
  explicit StandinSession(std::shared_ptr<erp::Session> session);

  std::string CompanyID() const override { return session_->companyId(); }
  std::string UserID() const override { return session_->userId(); }
  std::string SharedDataFolder() const override { return session_->sharedDataFolder().string(); }
  host::ErrorCollection& Errors() override { return *this; }
  void RemoveValue(const std::string& key) override { session_->values().remove(key); }
  std::string ReadValue(const std::string& key, size_t maxLength) const override;
  std::shared_ptr<host::DatabaseLink> OpenDBLink(int type, int flags) override;
  std::string ChangeFileKey(bool create) override {
    return session_->programSecret("Ordavel change files", create);
  }

  erp::Session& ErpSession() const { return *session_; }

 private:
  int Count() const override { return static_cast<int>(session_->errors().count()); }
  std::string Text(int index) const override;
  int Priority(int index) const override;
  void Clear() override { session_->errors().clear(); }

  std::shared_ptr<erp::Session> session_;
};

/// The stand-in ERP's session manager seen through the host interface.
class StandinSessionManager : public host::SessionManager {
 public:
  StandinSessionManager(std::filesystem::path sharedData, erp::SignonPrompt& prompt,
                        host::CompanyAccess access = host::CompanyAccess::ReadWrite);

  void SetAppID(const std::string& id) override { manager_.setApplicationId(id); }
  void SetAppVersion(const std::string& version) override {
    manager_.setApplicationVersion(version);
  }
  void SetProgramName(const std::string& name) override { manager_.setProgramName(name); }
  void SetServerName(const std::string& name) override { manager_.setServerName(name); }
  bool NewSignon() const override { return manager_.newSignon(); }
  void SetNewSignon(bool value) override { manager_.setNewSignon(value); }
  CreatedSession CreateSession(const std::string& objectHandle) override;
  void CloseSession(std::int32_t signonId) override { manager_.closeSession(signonId); }

 private:
  erp::SessionManager manager_;
};

/// The stand-in ERP's error display: shows through an erp::ErrorDisplay.
class StandinErrorDisplay : public host::ErrorDisplay {
 public:
  explicit StandinErrorDisplay(erp::ErrorDisplay& display) : display_(display) {}

  void Put(host::Session& session, const std::string& source, int priority, const std::string& text,
           const std::string& help, const std::string& helpFile, int helpId) override;
  void Show(host::Session& session) override;
  void Clear(host::Session& session) override;

 private:
  erp::ErrorDisplay& display_;
};

/// The stand-in desktop library seen through the host interface.
class StandinDesktopLibrary : public host::DesktopLibrary {
 public:
  explicit StandinDesktopLibrary(std::filesystem::path sharedData) : library_(sharedData) {}
  std::int32_t rotoCall(const DesktopLinkRecord& record) override {
    return library_.rotoCall(record.data());
  }

 private:
  erp::DesktopLibrary library_;
};

/// The host services of a program working on the stand-in site in `sharedData`: its session
/// manager asks `prompt` and opens the company for `access`, its error display shows through
/// `display`, the command line is `commandLine`. `prompt` and `display` must outlive the services.
HostServices StandinHostServices(const std::filesystem::path& sharedData, erp::SignonPrompt& prompt,
                                 erp::ErrorDisplay& display, std::string commandLine = {},
                                 host::CompanyAccess access = host::CompanyAccess::ReadWrite);

}  // namespace host::standin
