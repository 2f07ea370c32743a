#include "standin/site/ErpSession.h"

#include "standin/database/ErpError.h"
#include "standin/database/ProgramSecret.h"

#include <stdexcept>
#include <utility>

namespace erp {

Session::Session(std::shared_ptr<SiteDatabase> site, std::int32_t signonId, std::string userId,
                 std::string orgId, std::filesystem::path companyDatabase,
                 const ViewCatalog& catalog, CompanyAccess access)
    : site_(std::move(site)),
      signonId_(signonId),
      userId_(std::move(userId)),
      orgId_(std::move(orgId)),
      companyDatabaseFile_(std::move(companyDatabase)),
      catalog_(catalog),
      access_(access) {}

std::shared_ptr<DatabaseLink> Session::openLink(int type, int flags) {
  if (type != kCompanyLink && type != kSystemLink) {
    throw std::invalid_argument("Unknown database link type " + std::to_string(type) + ".");
  }
  if (flags != kLinkReadWrite && flags != kLinkReadOnly) {
    throw std::invalid_argument("Unknown database link flags " + std::to_string(flags) + ".");
  }
  // One connection serves all of the session's links, so that what one link writes the others
  // read at once.
  database();
  auto link = std::make_shared<DatabaseLink>(type, flags == kLinkReadOnly, database_, errors_,
                                             site_, orgId_);
  std::erase_if(links_, [](const std::weak_ptr<DatabaseLink>& held) { return held.expired(); });
  links_.push_back(link);
  return link;
}

CompanyDatabase& Session::database() {
  if (!signedOn_) throw ErpError("The session has been signed off.");
  if (!database_) {
    database_ = std::make_shared<CompanyDatabase>(companyDatabaseFile_, catalog_, access_);
  }
  return *database_;
}

std::string Session::programSecret(const std::string& program, bool create) {
  return ProgramSecret(database(), program, create);
}

void Session::signOff() {
  for (const std::weak_ptr<DatabaseLink>& held : links_) {
    if (std::shared_ptr<DatabaseLink> link = held.lock()) link->close();
  }
  links_.clear();
  database_.reset();
  signedOn_ = false;
}

}  // namespace erp
