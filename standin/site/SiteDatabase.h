#pragma once

#include "standin/catalog/ViewCatalog.h"
#include "standin/site/PasswordHash.h"
#include "standin/site/SiteLayout.h"

#include <SQLiteCpp/Database.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace erp {

/// A company registered in the site.
struct CompanyEntry {
  std::string orgId;
  std::string name;
  std::string databaseFile;  ///< relative to the shared-data folder
};

/// A user of the site, without the password hash.
struct UserEntry {
  std::string userId;
  std::string name;
};

/// An application active for a company; the second ID tells apart several instances of one
/// application.
struct ActiveApplication {
  std::string applicationId;
  std::string secondId;
  std::string version;

  bool operator==(const ActiveApplication&) const = default;
};

/// The site configuration record of the site (blank org ID) or of one company.
struct SiteRecord {
  static constexpr size_t kClientIdLength = 60;
  static constexpr size_t kClientNameLength = 60;
  static constexpr size_t kDealerLength = 35;
  static constexpr size_t kConsultantLength = 35;
  static constexpr size_t kContactLength = 35;

  std::string orgId;  ///< empty for the site itself
  std::string clientId;
  std::string clientName;
  std::string dealer;
  std::string consultant;
  std::string contact;

  bool operator==(const SiteRecord&) const = default;
};

/// A signed-on ERP desktop that programs can join by its numeric handle.
struct DesktopSession {
  std::int32_t handle = 0;
  std::string userId;
  std::string orgId;
  std::string created;  ///< UTC, "YYYY-MM-DD HH:MM:SS"
};

/// Whether a program opens the site database to change it or only to read it.
enum class SiteAccess { ReadWrite, ReadOnly };

/// The site's own data in SITE/site.db: companies, users, grants, active applications,
/// site configuration records and desktop sessions.
class SiteDatabase {
 public:
  static constexpr size_t kOrgIdLength = 6;
  static constexpr size_t kUserIdLength = 8;

  /// Creates the site folders and an empty site database; throws when the database exists.
  static void create(const SiteLayout& layout);

  /// Opens the site database of `layout`; throws std::runtime_error when there is none. A
  /// read-only database refuses every change.
  explicit SiteDatabase(SiteLayout layout, SiteAccess access = SiteAccess::ReadWrite);

  const SiteLayout& layout() const { return layout_; }

  /// Registers a company and creates its folder and (when missing) its empty database.
  void addCompany(const std::string& orgId, const std::string& name,
                  const ViewCatalog& catalog = ViewCatalog::standard());
  /// The company with this org ID (any case), or nullopt.
  std::optional<CompanyEntry> company(const std::string& orgId) const;
  /// Every registered company, by org ID.
  std::vector<CompanyEntry> companies() const;

  /// Adds a user with a password hashed at `cost`; throws when the ID is taken or malformed.
  void addUser(const std::string& userId, const std::string& name, const std::string& password,
               HashCost cost = HashCost::kInteractive);
  /// Removes a user with its grants and desktop sessions; throws when there is no such user.
  void removeUser(const std::string& userId);
  /// The user with this ID (any case), or nullopt.
  std::optional<UserEntry> user(const std::string& userId) const;
  /// Every user, by user ID.
  std::vector<UserEntry> users() const;
  /// Whether the user exists and the password is theirs.
  bool checkPassword(const std::string& userId, const std::string& password) const;
  /// Lets a user sign on to a company; throws when either is unknown.
  void grantCompany(const std::string& userId, const std::string& orgId);
  /// Whether the user may sign on to the company.
  bool mayUseCompany(const std::string& userId, const std::string& orgId) const;
  /// The stored password hash of a user, or nullopt for an unknown user; for callers that
  /// remember credentials they have already verified.
  std::optional<std::string> passwordHash(const std::string& userId) const;

  /// Lets a user reach a module (an application code such as AR) through the Web API; throws
  /// when the user is unknown or the code is not two letters.
  void grantWebApi(const std::string& userId, const std::string& module);
  /// Takes a user's Web API authorization for a module back; throws when they did not have it.
  void revokeWebApi(const std::string& userId, const std::string& module);
  /// Whether the user may reach the module through the Web API.
  bool mayUseWebApi(const std::string& userId, const std::string& module) const;
  /// The modules a user may reach through the Web API, in code order.
  std::vector<std::string> webApiModules(const std::string& userId) const;

  /// Makes an application active for a company, or updates its version.
  void setApplication(const std::string& orgId, const ActiveApplication& application);
  /// Deactivates an application; throws when it was not active.
  void removeApplication(const std::string& orgId, const std::string& applicationId,
                         const std::string& secondId);
  /// The company's active applications, by application ID and second ID.
  std::vector<ActiveApplication> applications(const std::string& orgId) const;

  /// Stores the configuration record under its org ID; throws when a field is too long.
  void setSiteRecord(const SiteRecord& record);
  /// The configuration record of an org ID (blank or empty = the site), or nullopt.
  std::optional<SiteRecord> siteRecord(const std::string& orgId) const;

  /// Records a signed-on desktop for a user and company and returns its new handle.
  std::int32_t createDesktopSession(const std::string& userId, const std::string& orgId);
  /// The desktop session with this handle, or nullopt when it is unknown or ended.
  std::optional<DesktopSession> desktopSession(std::int32_t handle) const;
  /// Whether the site ever gave out this desktop handle (handles are never given out twice).
  bool desktopHandleIssued(std::int32_t handle) const;
  /// Ends a desktop session with its window links; false when there was none.
  bool removeDesktopSession(std::int32_t handle);
  /// Links a program window to a desktop session; false when the session is unknown.
  bool linkWindow(std::int32_t handle, std::uint32_t window);
  /// Removes the link of one window, or of every window when `window` is 0; false when the
  /// session is unknown.
  bool unlinkWindow(std::int32_t handle, std::uint32_t window);
  /// The windows linked to a desktop session, in the order they were linked.
  std::vector<std::uint32_t> linkedWindows(std::int32_t handle) const;

 private:
  SiteLayout layout_;
  mutable SQLite::Database db_;
};

/// The org ID in the site's canonical form (upper case); throws std::invalid_argument when it is
/// empty, longer than six characters or not made of letters and digits.
std::string canonicalOrgId(const std::string& orgId);

/// The module code in the site's canonical form (upper case); throws std::invalid_argument when
/// it is not two letters.
std::string canonicalModule(const std::string& module);

/// The user ID in the site's canonical form (upper case); throws std::invalid_argument when it is
/// empty, longer than eight characters or not made of letters and digits.
std::string canonicalUserId(const std::string& userId);

}  // namespace erp
