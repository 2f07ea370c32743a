#include "host/AccpacConnection.h"

#include "host/HostError.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <filesystem>

namespace host {
namespace {

constexpr int kCompanyLink = 1;
constexpr int kSystemLink = 0;
constexpr int kReadWrite = 0;
constexpr int kReadOnly = 1;
constexpr int kPriorityMessage = 1;
constexpr int kPriorityError = 3;

/// Runs a step of the sign-on; any failure of the host becomes the general failure.
template <typename Step>
void SignonStep(const char* what, Step step) {
  try {
    step();
  } catch (const std::exception& error) {
    throw HostError(HostError::kGeneralFailure, std::string(what) + ": " + error.what());
  }
}

template <typename Step>
void IgnoringFailure(Step step) {
  try {
    step();
  } catch (...) {
    // Signing off must always complete: a failing step is skipped.
  }
}

}  // namespace

AccpacConnection::AccpacConnection(HostServices services)
    : services_(std::move(services)),
      sessionManager_(services_.newSessionManager()),
      desktop_(services_.desktopLibrary, services_.commandLine) {}

AccpacConnection::~AccpacConnection() {
  Logoff();
}

bool AccpacConnection::Logon(const std::string& sRotoID, std::int32_t hWnd) {
  if (loggedOn_) return true;
  signonRefusal_.clear();
  try {
    return SignOn(sRotoID, hWnd);
  } catch (const HostError& error) {
    signonRefusal_ = error.Description();
    throw;
  }
}

bool AccpacConnection::SignOn(const std::string& sRotoID, std::int32_t hWnd) {
  SignonStep("Cannot prepare the sign-on", [&] {
    sessionManager_->SetAppID("ZX");
    sessionManager_->SetAppVersion("56A");
    sessionManager_->SetProgramName(sRotoID);
    sessionManager_->SetServerName("");
  });
  std::string handle = desktop_.ObjectHandle();
  if (handle.empty()) IgnoringFailure([&] { sessionManager_->SetNewSignon(true); });
  session_.reset();
  SignonStep("Cannot sign on", [&] {
    CreatedSession created = sessionManager_->CreateSession(handle);
    signonId_ = created.signonId;
    session_ = std::move(created.session);
    signonRefusal_ = std::move(created.refusal);
  });
  if (session_) {
    if (!handle.empty()) SignonStep("Cannot link to the desktop", [&] { desktop_.Link(hWnd); });
    loggedOn_ = true;
  }
  return loggedOn_;
}

void AccpacConnection::Logoff() {
  bool ownSignon = false;
  IgnoringFailure([&] { ownSignon = sessionManager_->NewSignon(); });
  if (ownSignon) {
    CloseLink(companyRW_);
    CloseLink(companyRO_);
    if (loggedOn_) {
      IgnoringFailure([&] { sessionManager_->CloseSession(signonId_); });
      loggedOn_ = false;
      session_.reset();
    }
  }
  CloseLink(systemRW_);
  CloseLink(systemRO_);
  IgnoringFailure([&] {
    if (!desktop_.ObjectHandle().empty()) desktop_.Unlink();
  });
}

void AccpacConnection::CloseLink(std::shared_ptr<DatabaseLink>& link) {
  if (link) IgnoringFailure([&] { link->Close(); });
  link.reset();
}

host::Session& AccpacConnection::RequireSession() const {
  if (!session_) throw HostError(HostError::kGeneralFailure, "The program is not signed on.");
  return *session_;
}

std::shared_ptr<DatabaseLink> AccpacConnection::CompanyLink(std::shared_ptr<DatabaseLink>& link,
                                                            int flags) {
  if (!link) link = RequireSession().OpenDBLink(kCompanyLink, flags);
  return link;
}

std::shared_ptr<DatabaseLink> AccpacConnection::SystemLink(std::shared_ptr<DatabaseLink>& link,
                                                           int flags) {
  if (!link) {
    try {
      link = RequireSession().OpenDBLink(kSystemLink, flags);
    } catch (...) {
      link.reset();
    }
  }
  return link;
}

std::shared_ptr<DatabaseLink> AccpacConnection::CompanyDBLinkRW() {
  return CompanyLink(companyRW_, kReadWrite);
}
std::shared_ptr<DatabaseLink> AccpacConnection::CompanyDBLinkRO() {
  return CompanyLink(companyRO_, kReadOnly);
}
std::shared_ptr<DatabaseLink> AccpacConnection::SystemDBLinkRW() {
  return SystemLink(systemRW_, kReadWrite);
}
std::shared_ptr<DatabaseLink> AccpacConnection::SystemDBLinkRO() {
  return SystemLink(systemRO_, kReadOnly);
}

void AccpacConnection::PutError(const std::string& sError) {
  services_.newErrorDisplay()->Put(RequireSession(), "", kPriorityError, sError, "", "", 0);
}

void AccpacConnection::PutMessage(const std::string& sMessage) {
  services_.newErrorDisplay()->Put(RequireSession(), "", kPriorityMessage, sMessage, "", "", 0);
}

void AccpacConnection::ShowErrors() {
  auto display = services_.newErrorDisplay();
  display->Show(RequireSession());
  // The next validation relies on an empty list, and the display does not empty it.
  display->Clear(RequireSession());
}

void AccpacConnection::ClearErrors() {
  services_.newErrorDisplay()->Clear(RequireSession());
}

std::string AccpacConnection::appendPath(const std::string& sPath, const std::string& sName) {
  return util::JoinPath(sPath, sName);
}

std::string AccpacConnection::getLogPath() const {
  host::Session& session = RequireSession();
  if (std::string folder = session.LogFolder(); !folder.empty()) return folder;
  return appendPath(
      appendPath(appendPath(session.SharedDataFolder(), "Company"), session.CompanyID()),
      "Ordavel");
}

std::string AccpacConnection::LogFolderOnDisk() const {
  return util::ResolvePathCase(getLogPath()).string();
}

std::string AccpacConnection::getLogFileName(const std::string& sPrefix,
                                             const std::string& sSuffix) const {
  return sPrefix + LogDate(services_.clock()) + sSuffix + ".log";
}

void AccpacConnection::WriteLog(std::int16_t iLevel, const std::string& sLogFile,
                                const std::string& sLogEntry) {
  WriteLogLines(sLogFile, LogLine(iLevel, sLogEntry), 1);
}

std::string AccpacConnection::LogLine(std::int16_t iLevel, const std::string& sLogEntry) const {
  return LogLineText(services_.clock(), iLevel, sLogEntry);
}

void AccpacConnection::WriteLogLines(const std::string& sLogFile, const std::string& lines,
                                     long lineCount) {
  bool written = false;
  try {
    written = logFile_.Append(getLogPath(), sLogFile, lines);
  } catch (...) {
    written = false;
  }
  if (!written) lostLogLines_ += lineCount;
}

std::int64_t AccpacConnection::LogFileSize(const std::string& sLogFile) {
  return logFile_.Size(getLogPath(), sLogFile);
}

bool AccpacConnection::LogExists(const std::string& sLogFile) const {
  return std::filesystem::is_regular_file(
      util::ResolvePathCase(appendPath(getLogPath(), sLogFile)));
}

}  // namespace host
