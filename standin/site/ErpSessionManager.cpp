#include "standin/site/ErpSessionManager.h"

#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace erp {
namespace {

/// The desktop handle in `text`, or nullopt when it is not a positive 32-bit number.
std::optional<std::int32_t> parseHandle(const std::string& text) {
  std::int32_t handle = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, handle);
  if (error != std::errc() || stop != end || handle <= 0) return std::nullopt;
  return handle;
}

CreateResult refused(std::string why) {
  CreateResult result;
  result.refusal = std::move(why);
  return result;
}

}  // namespace

SessionManager::SessionManager(std::filesystem::path sharedData, SignonPrompt& prompt,
                               const ViewCatalog& catalog)
    : layout_(std::move(sharedData)), prompt_(prompt), catalog_(catalog) {}

SiteDatabase& SessionManager::site() {
  // Opened on first use, so that a manager can exist before its site is readable.
  // Signing on only reads the site, so a full disk or a read-only share cannot stop it.
  if (!site_) site_ = std::make_shared<SiteDatabase>(layout_, SiteAccess::ReadOnly);
  return *site_;
}

CreateResult SessionManager::createSession(const std::string& objectHandle) {
  const std::string handle = platform::Trim(objectHandle);
  return handle.empty() ? signOnWithPrompt() : joinDesktop(handle);
}

CreateResult SessionManager::signOnWithPrompt() {
  std::string message;
  while (std::optional<Credentials> credentials = prompt_.ask(message)) {
    if (std::optional<std::string> refused = refusal(*credentials)) {
      message = *refused;
      continue;
    }
    return open(platform::UpperCase(credentials->user), platform::UpperCase(credentials->company));
  }
  return {};
}

std::optional<std::string> SessionManager::refusal(const Credentials& credentials) {
  const std::string userId = platform::UpperCase(credentials.user);
  const std::string orgId = platform::UpperCase(credentials.company);
  // Unknown users and wrong passwords get one message, so that it does not tell which IDs exist.
  if (!site().checkPassword(userId, credentials.password)) return "Invalid user ID or password.";
  if (orgId.empty()) return "Enter the company to sign on to.";
  if (!site().mayUseCompany(userId, orgId)) {
    return "User " + userId + " may not sign on to company " + orgId + ".";
  }
  const std::optional<CompanyEntry> company = site().company(orgId);
  if (!std::filesystem::exists(layout_.sharedData() / company->databaseFile)) {
    return "The database of company " + orgId + " is missing.";
  }
  return std::nullopt;
}

CreateResult SessionManager::joinDesktop(const std::string& objectHandle) {
  const std::optional<std::int32_t> handle = parseHandle(objectHandle);
  if (!handle) return refused(objectHandle + " is not a desktop session handle.");
  const std::optional<DesktopSession> desktop = site().desktopSession(*handle);
  if (!desktop) {
    return refused(site().desktopHandleIssued(*handle)
                       ? "Desktop session " + objectHandle + " has ended."
                       : "There is no desktop session " + objectHandle + ".");
  }
  CreateResult opened = open(desktop->userId, desktop->orgId);
  if (!opened.session) {
    opened.refusal =
        "Company " + desktop->orgId + " of desktop session " + objectHandle + " no longer exists.";
  }
  return opened;
}

CreateResult SessionManager::open(const std::string& userId, const std::string& orgId) {
  const std::optional<CompanyEntry> company = site().company(orgId);
  if (!company) return {};
  const std::int32_t signonId = ++lastSignonId_;
  auto session =
      std::make_shared<Session>(site_, signonId, userId, company->orgId,
                                layout_.sharedData() / company->databaseFile, catalog_, access_);
  sessions_.emplace(signonId, session);
  return {signonId, session};
}

void SessionManager::closeSession(std::int32_t signonId) {
  const auto found = sessions_.find(signonId);
  if (found == sessions_.end()) {
    throw std::invalid_argument("No session is signed on with ID " + std::to_string(signonId) +
                                ".");
  }
  found->second->signOff();
  sessions_.erase(found);
}

std::shared_ptr<Session> SessionManager::session(std::int32_t signonId) const {
  const auto found = sessions_.find(signonId);
  return found == sessions_.end() ? nullptr : found->second;
}

}  // namespace erp
