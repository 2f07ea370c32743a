#pragma once

#include "standin/catalog/ViewCatalog.h"
#include "standin/database/CompanyDatabase.h"
#include "standin/database/ErrorList.h"
#include "standin/site/ErpDatabaseLink.h"
#include "standin/site/SiteDatabase.h"
#include "standin/site/ValueStore.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace erp {

/// One signed-on user in one company: its error list, value store and database links.
class Session {
 public:
  /// A signed-on session of `userId` in `orgId`, whose company database is `companyDatabase`,
  /// opened for `access`.
  Session(std::shared_ptr<SiteDatabase> site, std::int32_t signonId, std::string userId,
          std::string orgId, std::filesystem::path companyDatabase, const ViewCatalog& catalog,
          CompanyAccess access = CompanyAccess::ReadWrite);

  std::int32_t signonId() const { return signonId_; }
  const std::string& userId() const { return userId_; }
  const std::string& companyId() const { return orgId_; }
  /// The site's shared-data folder.
  const std::filesystem::path& sharedDataFolder() const { return site_->layout().sharedData(); }
  /// The session's list of errors and messages.
  ErrorList& errors() { return *errors_; }
  /// The session's per-session value store.
  ValueStore& values() { return values_; }
  /// False once the session has been signed off.
  bool signedOn() const { return signedOn_; }

  /// Opens a link of `type` (kCompanyLink or kSystemLink) with `flags` (kLinkReadWrite or
  /// kLinkReadOnly); throws std::invalid_argument for other values and ErpError after sign-off.
  std::shared_ptr<DatabaseLink> openLink(int type, int flags);

  /// The secret `program` keeps in the company's database (see ProgramSecret); throws ErpError
  /// after sign-off.
  std::string programSecret(const std::string& program, bool create);

  /// Signs the session off and closes every link it opened.
  void signOff();

 private:
  CompanyDatabase& database();

  std::shared_ptr<SiteDatabase> site_;
  std::int32_t signonId_;
  std::string userId_;
  std::string orgId_;
  std::filesystem::path companyDatabaseFile_;
  const ViewCatalog& catalog_;
  CompanyAccess access_;
  std::shared_ptr<ErrorList> errors_ = std::make_shared<ErrorList>();
  ValueStore values_;
  std::shared_ptr<CompanyDatabase> database_;
  std::vector<std::weak_ptr<DatabaseLink>> links_;
  bool signedOn_ = true;
};

}  // namespace erp
