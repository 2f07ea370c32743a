#include "standin/site/SiteDatabase.h"

#include "platform/Text.h"
#include "standin/database/CompanyDatabase.h"
#include "standin/database/OwnerOnlyFile.h"
#include "standin/site/PasswordHash.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <utility>

namespace erp {
namespace {

/// A hash at the interactive cost of a password nobody knows, for a site without users.
constexpr const char* kUnknownUserHash =
    "$argon2id$v=19$m=65536,t=2,p=1$JLEMP9XtDD9kiLZKAjCyCg$"
    "zylbDYx4ZZgZSHXTm4KuqjL8hr4znHQ28SjFaMsldEY";

constexpr const char* kSchema = R"sql(
CREATE TABLE companies (
  org_id TEXT PRIMARY KEY,
  name TEXT NOT NULL,
  database_file TEXT NOT NULL
);
CREATE TABLE users (
  user_id TEXT PRIMARY KEY,
  name TEXT NOT NULL,
  password_hash TEXT NOT NULL
);
CREATE TABLE user_companies (
  user_id TEXT NOT NULL REFERENCES users ON DELETE CASCADE,
  org_id TEXT NOT NULL REFERENCES companies ON DELETE CASCADE,
  PRIMARY KEY (user_id, org_id)
);
CREATE TABLE applications (
  org_id TEXT NOT NULL REFERENCES companies ON DELETE CASCADE,
  application_id TEXT NOT NULL,
  second_id TEXT NOT NULL,
  version TEXT NOT NULL,
  PRIMARY KEY (org_id, application_id, second_id)
);
CREATE TABLE site_records (
  org_id TEXT PRIMARY KEY,
  client_id TEXT NOT NULL,
  client_name TEXT NOT NULL,
  dealer TEXT NOT NULL,
  consultant TEXT NOT NULL,
  contact TEXT NOT NULL
);
CREATE TABLE desktop_sessions (
  handle INTEGER PRIMARY KEY AUTOINCREMENT,
  user_id TEXT NOT NULL REFERENCES users ON DELETE CASCADE,
  org_id TEXT NOT NULL REFERENCES companies ON DELETE CASCADE,
  created TEXT NOT NULL DEFAULT (datetime('now'))
);
CREATE TABLE webapi_grants (
  user_id TEXT NOT NULL REFERENCES users ON DELETE CASCADE,
  module TEXT NOT NULL,
  PRIMARY KEY (user_id, module)
);
CREATE TABLE desktop_links (
  link INTEGER PRIMARY KEY AUTOINCREMENT,
  handle INTEGER NOT NULL REFERENCES desktop_sessions ON DELETE CASCADE,
  window INTEGER NOT NULL
);
)sql";

// The site database is read far more often than written, by every program that signs on. A
// rollback journal lets those readers open it read-only without creating any file, so that a
// full disk or a read-only share still lets them read; WAL would need its shared-memory file.
void configure(SQLite::Database& db, SiteAccess access) {
  db.setBusyTimeout(5000);
  if (access == SiteAccess::ReadOnly) return;
  try {
    db.exec("PRAGMA journal_mode=DELETE");
  } catch (const SQLite::Exception&) {
    // Another program has a site created in WAL mode open; it changes mode another time.
  }
  db.exec("PRAGMA foreign_keys=ON");
}

// Sites created before the Web API authorizations existed get their table when a program first
// opens them to change something; a reader of such a site finds no authorization.
void addWebApiGrants(SQLite::Database& db) {
  if (!db.tableExists("users")) return;
  db.exec(
      "CREATE TABLE IF NOT EXISTS webapi_grants (user_id TEXT NOT NULL REFERENCES users ON DELETE "
      "CASCADE, module TEXT NOT NULL, PRIMARY KEY (user_id, module))");
}

std::string canonicalCode(const std::string& code, size_t maxLength, const std::string& what) {
  const bool wellFormed =
      !code.empty() && code.size() <= maxLength &&
      std::all_of(code.begin(), code.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
  if (!wellFormed) {
    throw std::invalid_argument(what + " must be 1 to " + std::to_string(maxLength) +
                                " letters or digits, not \"" + code + "\".");
  }
  return platform::UpperCase(code);
}

std::string siteRecordKey(const std::string& orgId) {
  const size_t end = orgId.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : canonicalOrgId(orgId.substr(0, end + 1));
}

void checkLength(const std::string& field, const std::string& value, size_t maxLength) {
  if (value.size() > maxLength) {
    throw std::invalid_argument(field + " is longer than " + std::to_string(maxLength) +
                                " characters.");
  }
}

void requireOne(int changedRows, const std::string& message) {
  if (changedRows == 0) throw std::invalid_argument(message);
}

}  // namespace

std::string canonicalOrgId(const std::string& orgId) {
  return canonicalCode(orgId, SiteDatabase::kOrgIdLength, "A company's org ID");
}

std::string canonicalModule(const std::string& module) {
  const bool wellFormed =
      module.size() == 2 && std::all_of(module.begin(), module.end(),
                                        [](unsigned char c) { return std::isalpha(c) != 0; });
  if (!wellFormed) {
    throw std::invalid_argument("A module code must be two letters, such as AR, not \"" + module +
                                "\".");
  }
  return platform::UpperCase(module);
}

std::string canonicalUserId(const std::string& userId) {
  return canonicalCode(userId, SiteDatabase::kUserIdLength, "A user ID");
}

void SiteDatabase::create(const SiteLayout& layout) {
  if (std::filesystem::exists(layout.siteDatabase())) {
    throw std::runtime_error("A site database already exists at " + layout.siteDatabase().string() +
                             ".");
  }
  layout.createFolders();
  // The site database holds the users' password hashes.
  createOwnerOnlyFile(layout.siteDatabase());
  SQLite::Database db(layout.siteDatabase().string(), SQLite::OPEN_READWRITE);
  configure(db, SiteAccess::ReadWrite);
  SQLite::Transaction transaction(db);
  db.exec(kSchema);
  transaction.commit();
}

SiteDatabase::SiteDatabase(SiteLayout layout, SiteAccess access)
    : layout_(std::move(layout)),
      db_(
          [this] {
            if (!std::filesystem::exists(layout_.siteDatabase())) {
              throw std::runtime_error("There is no site database at " +
                                       layout_.siteDatabase().string() + ".");
            }
            return layout_.siteDatabase().string();
          }(),
          access == SiteAccess::ReadOnly ? SQLite::OPEN_READONLY : SQLite::OPEN_READWRITE) {
  configure(db_, access);
  if (access == SiteAccess::ReadWrite) addWebApiGrants(db_);
}

void SiteDatabase::addCompany(const std::string& orgId, const std::string& name,
                              const ViewCatalog& catalog) {
  const std::string org = canonicalOrgId(orgId);
  if (company(org)) throw std::invalid_argument("Company " + org + " already exists.");
  std::filesystem::create_directories(layout_.companyFolder(org));
  if (!std::filesystem::exists(layout_.companyDatabase(org))) {
    CompanyDatabase::create(layout_.companyDatabase(org), catalog);
  }
  SQLite::Statement insert(db_,
                           "INSERT INTO companies (org_id, name, database_file) VALUES (?, ?, ?)");
  insert.bind(1, org);
  insert.bind(2, name);
  insert.bind(3, layout_.companyDatabaseRelative(org).generic_string());
  insert.exec();
}

std::optional<CompanyEntry> SiteDatabase::company(const std::string& orgId) const {
  std::string org;
  try {
    org = canonicalOrgId(orgId);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
  SQLite::Statement query(db_, "SELECT name, database_file FROM companies WHERE org_id = ?");
  query.bind(1, org);
  if (!query.executeStep()) return std::nullopt;
  return CompanyEntry{org, query.getColumn(0).getString(), query.getColumn(1).getString()};
}

std::vector<CompanyEntry> SiteDatabase::companies() const {
  SQLite::Statement query(db_, "SELECT org_id, name, database_file FROM companies ORDER BY org_id");
  std::vector<CompanyEntry> result;
  while (query.executeStep()) {
    result.push_back({query.getColumn(0).getString(), query.getColumn(1).getString(),
                      query.getColumn(2).getString()});
  }
  return result;
}

void SiteDatabase::addUser(const std::string& userId, const std::string& name,
                           const std::string& password, HashCost cost) {
  const std::string id = canonicalUserId(userId);
  if (user(id)) throw std::invalid_argument("User " + id + " already exists.");
  SQLite::Statement insert(db_,
                           "INSERT INTO users (user_id, name, password_hash) VALUES (?, ?, ?)");
  insert.bind(1, id);
  insert.bind(2, name);
  insert.bind(3, hashPassword(password, cost));
  insert.exec();
}

void SiteDatabase::removeUser(const std::string& userId) {
  const std::string id = canonicalUserId(userId);
  SQLite::Statement remove(db_, "DELETE FROM users WHERE user_id = ?");
  remove.bind(1, id);
  requireOne(remove.exec(), "There is no user " + id + ".");
}

std::optional<UserEntry> SiteDatabase::user(const std::string& userId) const {
  std::string id;
  try {
    id = canonicalUserId(userId);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
  SQLite::Statement query(db_, "SELECT name FROM users WHERE user_id = ?");
  query.bind(1, id);
  if (!query.executeStep()) return std::nullopt;
  return UserEntry{id, query.getColumn(0).getString()};
}

std::vector<UserEntry> SiteDatabase::users() const {
  SQLite::Statement query(db_, "SELECT user_id, name FROM users ORDER BY user_id");
  std::vector<UserEntry> result;
  while (query.executeStep()) {
    result.push_back({query.getColumn(0).getString(), query.getColumn(1).getString()});
  }
  return result;
}

bool SiteDatabase::checkPassword(const std::string& userId, const std::string& password) const {
  const std::optional<UserEntry> entry = user(userId);
  // An unknown user costs one verification too, against another user's hash, so that the time
  // a refusal takes does not tell which user IDs exist.
  SQLite::Statement query(db_, entry ? "SELECT password_hash FROM users WHERE user_id = ?"
                                     : "SELECT password_hash FROM users ORDER BY user_id LIMIT 1");
  if (entry) query.bind(1, entry->userId);
  const std::string hash = query.executeStep() ? query.getColumn(0).getString() : kUnknownUserHash;
  return verifyPassword(hash, password) && entry.has_value();
}

void SiteDatabase::grantCompany(const std::string& userId, const std::string& orgId) {
  const std::string id = canonicalUserId(userId);
  const std::string org = canonicalOrgId(orgId);
  if (!user(id)) throw std::invalid_argument("There is no user " + id + ".");
  if (!company(org)) throw std::invalid_argument("There is no company " + org + ".");
  SQLite::Statement insert(db_,
                           "INSERT OR IGNORE INTO user_companies (user_id, org_id) VALUES (?, ?)");
  insert.bind(1, id);
  insert.bind(2, org);
  insert.exec();
}

bool SiteDatabase::mayUseCompany(const std::string& userId, const std::string& orgId) const {
  const std::optional<UserEntry> entry = user(userId);
  const std::optional<CompanyEntry> target = company(orgId);
  if (!entry || !target) return false;
  SQLite::Statement query(db_, "SELECT 1 FROM user_companies WHERE user_id = ? AND org_id = ?");
  query.bind(1, entry->userId);
  query.bind(2, target->orgId);
  return query.executeStep();
}

std::optional<std::string> SiteDatabase::passwordHash(const std::string& userId) const {
  const std::optional<UserEntry> entry = user(userId);
  if (!entry) return std::nullopt;
  SQLite::Statement query(db_, "SELECT password_hash FROM users WHERE user_id = ?");
  query.bind(1, entry->userId);
  if (!query.executeStep()) return std::nullopt;
  return query.getColumn(0).getString();
}

void SiteDatabase::grantWebApi(const std::string& userId, const std::string& module) {
  const std::string id = canonicalUserId(userId);
  const std::string code = canonicalModule(module);
  if (!user(id)) throw std::invalid_argument("There is no user " + id + ".");
  SQLite::Statement insert(db_,
                           "INSERT OR IGNORE INTO webapi_grants (user_id, module) VALUES (?, ?)");
  insert.bind(1, id);
  insert.bind(2, code);
  insert.exec();
}

void SiteDatabase::revokeWebApi(const std::string& userId, const std::string& module) {
  const std::string id = canonicalUserId(userId);
  const std::string code = canonicalModule(module);
  SQLite::Statement remove(db_, "DELETE FROM webapi_grants WHERE user_id = ? AND module = ?");
  remove.bind(1, id);
  remove.bind(2, code);
  requireOne(remove.exec(), "User " + id + " has no Web API authorization for " + code + ".");
}

bool SiteDatabase::mayUseWebApi(const std::string& userId, const std::string& module) const {
  const std::vector<std::string> modules = webApiModules(userId);
  std::string code;
  try {
    code = canonicalModule(module);
  } catch (const std::invalid_argument&) {
    return false;
  }
  return std::find(modules.begin(), modules.end(), code) != modules.end();
}

std::vector<std::string> SiteDatabase::webApiModules(const std::string& userId) const {
  std::vector<std::string> result;
  const std::optional<UserEntry> entry = user(userId);
  if (!entry || !db_.tableExists("webapi_grants")) return result;
  SQLite::Statement query(db_,
                          "SELECT module FROM webapi_grants WHERE user_id = ? ORDER BY module");
  query.bind(1, entry->userId);
  while (query.executeStep()) result.push_back(query.getColumn(0).getString());
  return result;
}

void SiteDatabase::setApplication(const std::string& orgId, const ActiveApplication& application) {
  const std::string org = canonicalOrgId(orgId);
  if (!company(org)) throw std::invalid_argument("There is no company " + org + ".");
  if (application.applicationId.empty()) {
    throw std::invalid_argument("An application needs an application ID.");
  }
  SQLite::Statement upsert(db_,
                           "INSERT INTO applications (org_id, application_id, second_id, version) "
                           "VALUES (?, ?, ?, ?) ON CONFLICT (org_id, application_id, second_id) "
                           "DO UPDATE SET version = excluded.version");
  upsert.bind(1, org);
  upsert.bind(2, application.applicationId);
  upsert.bind(3, application.secondId);
  upsert.bind(4, application.version);
  upsert.exec();
}

void SiteDatabase::removeApplication(const std::string& orgId, const std::string& applicationId,
                                     const std::string& secondId) {
  const std::string org = canonicalOrgId(orgId);
  SQLite::Statement remove(
      db_, "DELETE FROM applications WHERE org_id = ? AND application_id = ? AND second_id = ?");
  remove.bind(1, org);
  remove.bind(2, applicationId);
  remove.bind(3, secondId);
  requireOne(remove.exec(), "Application " + applicationId + " (" + secondId +
                                ") is not active for company " + org + ".");
}

std::vector<ActiveApplication> SiteDatabase::applications(const std::string& orgId) const {
  SQLite::Statement query(db_,
                          "SELECT application_id, second_id, version FROM applications "
                          "WHERE org_id = ? ORDER BY application_id, second_id");
  query.bind(1, canonicalOrgId(orgId));
  std::vector<ActiveApplication> result;
  while (query.executeStep()) {
    result.push_back({query.getColumn(0).getString(), query.getColumn(1).getString(),
                      query.getColumn(2).getString()});
  }
  return result;
}

void SiteDatabase::setSiteRecord(const SiteRecord& record) {
  const std::string key = siteRecordKey(record.orgId);
  checkLength("The client ID", record.clientId, SiteRecord::kClientIdLength);
  checkLength("The client name", record.clientName, SiteRecord::kClientNameLength);
  checkLength("The dealer", record.dealer, SiteRecord::kDealerLength);
  checkLength("The consultant", record.consultant, SiteRecord::kConsultantLength);
  checkLength("The contact", record.contact, SiteRecord::kContactLength);
  SQLite::Statement upsert(db_,
                           "INSERT OR REPLACE INTO site_records (org_id, client_id, client_name, "
                           "dealer, consultant, contact) VALUES (?, ?, ?, ?, ?, ?)");
  upsert.bind(1, key);
  upsert.bind(2, record.clientId);
  upsert.bind(3, record.clientName);
  upsert.bind(4, record.dealer);
  upsert.bind(5, record.consultant);
  upsert.bind(6, record.contact);
  upsert.exec();
}

std::optional<SiteRecord> SiteDatabase::siteRecord(const std::string& orgId) const {
  std::string key;
  try {
    key = siteRecordKey(orgId);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
  SQLite::Statement query(db_,
                          "SELECT client_id, client_name, dealer, consultant, contact "
                          "FROM site_records WHERE org_id = ?");
  query.bind(1, key);
  if (!query.executeStep()) return std::nullopt;
  return SiteRecord{key,
                    query.getColumn(0).getString(),
                    query.getColumn(1).getString(),
                    query.getColumn(2).getString(),
                    query.getColumn(3).getString(),
                    query.getColumn(4).getString()};
}

std::int32_t SiteDatabase::createDesktopSession(const std::string& userId,
                                                const std::string& orgId) {
  const std::string id = canonicalUserId(userId);
  const std::string org = canonicalOrgId(orgId);
  if (!user(id)) throw std::invalid_argument("There is no user " + id + ".");
  if (!company(org)) throw std::invalid_argument("There is no company " + org + ".");
  SQLite::Statement insert(db_, "INSERT INTO desktop_sessions (user_id, org_id) VALUES (?, ?)");
  insert.bind(1, id);
  insert.bind(2, org);
  insert.exec();
  const std::int64_t handle = db_.getLastInsertRowid();
  if (handle > INT32_MAX) throw std::runtime_error("The site has run out of desktop handles.");
  return static_cast<std::int32_t>(handle);
}

std::optional<DesktopSession> SiteDatabase::desktopSession(std::int32_t handle) const {
  SQLite::Statement query(db_,
                          "SELECT user_id, org_id, created FROM desktop_sessions WHERE handle = ?");
  query.bind(1, handle);
  if (!query.executeStep()) return std::nullopt;
  return DesktopSession{handle, query.getColumn(0).getString(), query.getColumn(1).getString(),
                        query.getColumn(2).getString()};
}

bool SiteDatabase::desktopHandleIssued(std::int32_t handle) const {
  SQLite::Statement query(db_, "SELECT seq FROM sqlite_sequence WHERE name = 'desktop_sessions'");
  return handle > 0 && query.executeStep() && handle <= query.getColumn(0).getInt64();
}

bool SiteDatabase::removeDesktopSession(std::int32_t handle) {
  SQLite::Statement remove(db_, "DELETE FROM desktop_sessions WHERE handle = ?");
  remove.bind(1, handle);
  return remove.exec() > 0;
}

bool SiteDatabase::linkWindow(std::int32_t handle, std::uint32_t window) {
  if (!desktopSession(handle)) return false;
  SQLite::Statement insert(db_, "INSERT INTO desktop_links (handle, window) VALUES (?, ?)");
  insert.bind(1, handle);
  insert.bind(2, static_cast<std::int64_t>(window));
  insert.exec();
  return true;
}

bool SiteDatabase::unlinkWindow(std::int32_t handle, std::uint32_t window) {
  if (!desktopSession(handle)) return false;
  SQLite::Statement remove(db_, window == 0
                                    ? "DELETE FROM desktop_links WHERE handle = ?"
                                    : "DELETE FROM desktop_links WHERE handle = ? AND window = ?");
  remove.bind(1, handle);
  if (window != 0) remove.bind(2, static_cast<std::int64_t>(window));
  remove.exec();
  return true;
}

std::vector<std::uint32_t> SiteDatabase::linkedWindows(std::int32_t handle) const {
  SQLite::Statement query(db_, "SELECT window FROM desktop_links WHERE handle = ? ORDER BY link");
  query.bind(1, handle);
  std::vector<std::uint32_t> result;
  while (query.executeStep()) {
    result.push_back(static_cast<std::uint32_t>(query.getColumn(0).getInt64()));
  }
  return result;
}

}  // namespace erp
