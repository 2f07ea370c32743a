#pragma once

#include "host/AccpacConnection.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace host::testing {

/// What the fakes below were asked to do, in order.
struct Calls {
  std::vector<std::string> log;
  std::vector<DesktopLinkRecord> records;
  int linksOpened = 0;
  int linksClosed = 0;
};

class FakeLink : public DatabaseLink {
 public:
  explicit FakeLink(Calls& calls) : calls_(calls) {}
  void Close() override { ++calls_.linksClosed; }
  int ActiveApplicationCount() const override { return 0; }
  std::string ApplicationID(int) const override { return {}; }
  std::string ApplicationSecondID(int) const override { return {}; }
  std::vector<Variant> ReadOptionValues(const std::string&,
                                        const std::vector<int>&) const override {
    return {};
  }
  int TransactionBegin() override { return ++level_; }
  void TransactionCommit() override { --level_; }
  void TransactionRollback() override { --level_; }
  int TransactionLevel() const override { return level_; }

 private:
  Calls& calls_;
  int level_ = 0;
};

class FakeSession : public Session, public ErrorCollection {
 public:
  explicit FakeSession(Calls& calls) : calls_(calls) {}
  std::string CompanyID() const override { return companyId; }
  std::string UserID() const override { return "ADMIN"; }
  std::string SharedDataFolder() const override { return sharedData; }
  ErrorCollection& Errors() override { return *this; }
  void RemoveValue(const std::string&) override {}
  std::string ReadValue(const std::string&, size_t) const override { return {}; }
  std::shared_ptr<DatabaseLink> OpenDBLink(int type, int flags) override {
    calls_.log.push_back("OpenDBLink " + std::to_string(type) + " " + std::to_string(flags));
    if (type == 0 && failSystemLinks) throw std::runtime_error("no system database");
    ++calls_.linksOpened;
    return std::make_shared<FakeLink>(calls_);
  }
  int Count() const override { return static_cast<int>(messages.size()); }
  std::string Text(int index) const override { return messages.at(index).second; }
  int Priority(int index) const override { return messages.at(index).first; }
  void Clear() override { messages.clear(); }

  bool failSystemLinks = false;
  std::string companyId = "SAMLTD";
  std::string sharedData = "/data";
  std::vector<std::pair<int, std::string>> messages;

 private:
  Calls& calls_;
};

class FakeSessionManager : public SessionManager {
 public:
  FakeSessionManager(Calls& calls, std::shared_ptr<FakeSession> session)
      : calls_(calls), session_(std::move(session)) {}
  void SetAppID(const std::string& id) override { calls_.log.push_back("SetAppID " + id); }
  void SetAppVersion(const std::string& v) override { calls_.log.push_back("SetAppVersion " + v); }
  void SetProgramName(const std::string& n) override {
    calls_.log.push_back("SetProgramName " + n);
  }
  void SetServerName(const std::string& n) override { calls_.log.push_back("SetServerName " + n); }
  bool NewSignon() const override { return newSignon_; }
  void SetNewSignon(bool value) override {
    calls_.log.push_back(std::string("SetNewSignon ") + (value ? "true" : "false"));
    newSignon_ = value;
  }
  CreatedSession CreateSession(const std::string& handle) override {
    calls_.log.push_back("CreateSession " + handle);
    return {7, session_};
  }
  void CloseSession(std::int32_t id) override {
    calls_.log.push_back("CloseSession " + std::to_string(id));
  }

 private:
  Calls& calls_;
  std::shared_ptr<FakeSession> session_;
  bool newSignon_ = false;
};

class FakeDesktopLibrary : public DesktopLibrary {
 public:
  explicit FakeDesktopLibrary(Calls& calls) : calls_(calls) {}
  std::int32_t rotoCall(const DesktopLinkRecord& record) override {
    calls_.records.push_back(record);
    return 0;
  }

 private:
  Calls& calls_;
};

class FakeErrorDisplay : public ErrorDisplay {
 public:
  explicit FakeErrorDisplay(Calls& calls) : calls_(calls) {}
  void Put(Session& session, const std::string&, int priority, const std::string& text,
           const std::string&, const std::string&, int) override {
    dynamic_cast<FakeSession&>(session).messages.emplace_back(priority, text);
  }
  void Show(Session& session) override {
    calls_.log.push_back("Show " + std::to_string(session.Errors().Count()));
  }
  void Clear(Session& session) override { session.Errors().Clear(); }

 private:
  Calls& calls_;
};

/// Host services made of the fakes above; `session` null makes the sign-on fail.
inline HostServices fakeServices(Calls& calls, std::shared_ptr<FakeSession> session,
                                 std::optional<std::string> commandLine) {
  HostServices services;
  services.newSessionManager = [&calls, session] {
    return std::make_unique<FakeSessionManager>(calls, session);
  };
  services.newErrorDisplay = [&calls] { return std::make_unique<FakeErrorDisplay>(calls); };
  services.desktopLibrary = std::make_shared<FakeDesktopLibrary>(calls);
  services.commandLine = [commandLine] { return commandLine; };
  return services;
}

}  // namespace host::testing
