#include "host/standin/StandinSession.h"

#include "host/HostError.h"

#include <stdexcept>

namespace host::standin {
namespace {

/// The error number of a transaction the stand-in refused.
constexpr std::int32_t kTransactionError = static_cast<std::int32_t>(0x80041002u);

template <typename Step>
auto TransactionStep(Step step) -> decltype(step()) {
  try {
    return step();
  } catch (const std::exception& error) {
    throw HostError(kTransactionError, error.what(), "ERP.DBLink");
  }
}

erp::Session& ErpSession(host::Session& session) {
  auto* standin = dynamic_cast<StandinSession*>(&session);
  if (!standin) throw std::invalid_argument("Not a session of the stand-in ERP.");
  return standin->ErpSession();
}

}  // namespace

StandinDatabaseLink::StandinDatabaseLink(std::shared_ptr<erp::DatabaseLink> link,
                                         host::Session& session)
    : link_(std::move(link)), session_(session) {}

int StandinDatabaseLink::ActiveApplicationCount() const {
  return static_cast<int>(link_->activeApplications().size());
}

std::string StandinDatabaseLink::ApplicationID(int index) const {
  return link_->activeApplications().at(static_cast<size_t>(index)).applicationId;
}

std::string StandinDatabaseLink::ApplicationSecondID(int index) const {
  return link_->activeApplications().at(static_cast<size_t>(index)).secondId;
}

std::vector<Variant> StandinDatabaseLink::ReadOptionValues(
    const std::string& viewId, const std::vector<int>& fieldNumbers) const {
  std::vector<Variant> result;
  for (const erp::Value& value : link_->readOptionValues(viewId, fieldNumbers)) {
    result.push_back(value);
  }
  return result;
}

int StandinDatabaseLink::TransactionBegin() {
  return TransactionStep([this] { return link_->beginTransaction(); });
}

void StandinDatabaseLink::TransactionCommit() {
  TransactionStep([this] { link_->commitTransaction(); });
}

void StandinDatabaseLink::TransactionRollback() {
  TransactionStep([this] { link_->rollbackTransaction(); });
}

int StandinDatabaseLink::TransactionLevel() const {
  return TransactionStep([this] { return link_->transactionLevel(); });
}

StandinSession::StandinSession(std::shared_ptr<erp::Session> session)
    : session_(std::move(session)) {}

std::string StandinSession::ReadValue(const std::string& key, size_t maxLength) const {
  std::string value = session_->values().read(key);
  if (value.size() > maxLength) value.resize(maxLength);
  return value;
}

std::shared_ptr<host::DatabaseLink> StandinSession::OpenDBLink(int type, int flags) {
  return std::make_shared<StandinDatabaseLink>(session_->openLink(type, flags), *this);
}

std::string StandinSession::Text(int index) const {
  return session_->errors().at(static_cast<size_t>(index)).text;
}

int StandinSession::Priority(int index) const {
  return session_->errors().at(static_cast<size_t>(index)).priority;
}

StandinSessionManager::StandinSessionManager(std::filesystem::path sharedData,
                                             erp::SignonPrompt& prompt, host::CompanyAccess access)
    : manager_(std::move(sharedData), prompt) {
  manager_.setCompanyAccess(access == host::CompanyAccess::ReadOnly
                                ? erp::CompanyAccess::ReadOnly
                                : erp::CompanyAccess::ReadWrite);
}

CreatedSession StandinSessionManager::CreateSession(const std::string& objectHandle) {
  erp::CreateResult result = manager_.createSession(objectHandle);
  CreatedSession created;
  created.signonId = result.signonId;
  created.refusal = std::move(result.refusal);
  if (result.session) created.session = std::make_shared<StandinSession>(result.session);
  return created;
}

void StandinErrorDisplay::Put(host::Session& session, const std::string& source, int priority,
                              const std::string& text, const std::string& help,
                              const std::string& /*helpFile*/, int /*helpId*/) {
  ErpSession(session).errors().add(priority, text, source, help);
}

void StandinErrorDisplay::Show(host::Session& session) {
  display_.show(ErpSession(session).errors());
}

void StandinErrorDisplay::Clear(host::Session& session) {
  ErpSession(session).errors().clear();
}

HostServices StandinHostServices(const std::filesystem::path& sharedData, erp::SignonPrompt& prompt,
                                 erp::ErrorDisplay& display, std::string commandLine,
                                 host::CompanyAccess access) {
  HostServices services;
  services.newSessionManager = [sharedData, &prompt, access] {
    return std::make_unique<StandinSessionManager>(sharedData, prompt, access);
  };
  services.newErrorDisplay = [&display] { return std::make_unique<StandinErrorDisplay>(display); };
  services.desktopLibrary = std::make_shared<StandinDesktopLibrary>(sharedData);
  services.commandLine = [commandLine] { return commandLine; };
  return services;
}

}  // namespace host::standin
