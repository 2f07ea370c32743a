#pragma once

#include "standin/catalog/ViewCatalog.h"
#include "standin/site/ErpSession.h"
#include "standin/site/SignonPrompt.h"
#include "standin/site/SiteDatabase.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace erp {

/// What creating a session gives back: its signon ID and the session (null when none).
struct CreateResult {
  std::int32_t signonId = 0;
  std::shared_ptr<Session> session;
  /// Why no session came back when a desktop session could not be joined; empty otherwise
  /// (a sign-on the operator cancelled has nothing to tell).
  std::string refusal = {};
};

/// Signs users on to the companies of one site, by prompt or by joining a desktop session.
class SessionManager {
 public:
  /// A manager for the site in `sharedData` that asks `prompt` for credentials.
  SessionManager(std::filesystem::path sharedData, SignonPrompt& prompt,
                 const ViewCatalog& catalog = ViewCatalog::standard());

  const std::string& applicationId() const { return applicationId_; }
  void setApplicationId(std::string id) { applicationId_ = std::move(id); }
  const std::string& applicationVersion() const { return applicationVersion_; }
  void setApplicationVersion(std::string version) { applicationVersion_ = std::move(version); }
  const std::string& programName() const { return programName_; }
  void setProgramName(std::string name) { programName_ = std::move(name); }
  const std::string& serverName() const { return serverName_; }
  void setServerName(std::string name) { serverName_ = std::move(name); }
  /// Whether the caller asked for a sign-on of its own rather than the desktop's session.
  bool newSignon() const { return newSignon_; }
  void setNewSignon(bool newSignon) { newSignon_ = newSignon; }
  /// How the sessions signed on from now on open their company's database.
  void setCompanyAccess(CompanyAccess access) { access_ = access; }

  /// Signs on: an empty `objectHandle` asks the prompt until credentials succeed or it cancels;
  /// otherwise the desktop session with that handle is joined. No session when it cannot be.
  CreateResult createSession(const std::string& objectHandle);

  /// Signs off the session with `signonId`; throws std::invalid_argument when there is none.
  void closeSession(std::int32_t signonId);

  /// The open session with `signonId`, or null.
  std::shared_ptr<Session> session(std::int32_t signonId) const;

 private:
  SiteDatabase& site();
  /// Why `credentials` cannot sign on, or nullopt when they can.
  std::optional<std::string> refusal(const Credentials& credentials);
  CreateResult signOnWithPrompt();
  CreateResult joinDesktop(const std::string& objectHandle);
  CreateResult open(const std::string& userId, const std::string& orgId);

  SiteLayout layout_;
  SignonPrompt& prompt_;
  const ViewCatalog& catalog_;
  std::shared_ptr<SiteDatabase> site_;
  std::string applicationId_;
  std::string applicationVersion_;
  std::string programName_;
  std::string serverName_;
  bool newSignon_ = false;
  CompanyAccess access_ = CompanyAccess::ReadWrite;
  std::int32_t lastSignonId_ = 0;
  std::map<std::int32_t, std::shared_ptr<Session>> sessions_;
};

}  // namespace erp
