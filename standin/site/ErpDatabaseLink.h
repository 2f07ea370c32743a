#pragma once

#include "standin/catalog/Value.h"
#include "standin/database/CompanyDatabase.h"
#include "standin/database/ErrorList.h"
#include "standin/site/SiteDatabase.h"

#include <memory>
#include <string>
#include <vector>

namespace erp {

/// Kinds of database link a session opens.
enum LinkType : int { kSystemLink = 0, kCompanyLink = 1 };

/// Access flags of a database link.
enum LinkFlags : int { kLinkReadWrite = 0, kLinkReadOnly = 1 };

/// A session's access to its company's data. The stand-in keeps the system views (currencies
/// and the like) in every company's own database, so a system link reaches the same database
/// as a company link.
class DatabaseLink {
 public:
  /// A link of `type` on `database`, reporting into `errors` and asking `site` for `orgId`'s
  /// active applications.
  DatabaseLink(int type, bool readOnly, std::shared_ptr<CompanyDatabase> database,
               std::shared_ptr<ErrorList> errors, std::shared_ptr<SiteDatabase> site,
               std::string orgId);

  int type() const { return type_; }
  bool readOnly() const { return readOnly_; }
  bool isOpen() const { return database_ != nullptr; }
  /// The company database; throws ErpError once the link is closed.
  std::shared_ptr<CompanyDatabase> database() const;
  /// The error list of the session that opened the link.
  ErrorList& errors() const { return *errors_; }

  /// Closes the link; later use of it throws. Closing twice does nothing.
  void close();

  /// Throws ErpError (and lists the refusal) when the link is read-only; `what` names the
  /// refused change.
  void requireWritable(const std::string& what) const;

  /// Starts a transaction on the session's connection, or a savepoint inside the one open; what
  /// data sources write from then on is kept or undone with it. Returns the new level, 1 for the
  /// outermost. Refused on a read-only link; a database that stays locked is an ErpError.
  int beginTransaction();
  /// Ends the innermost level keeping its changes; a failed commit undoes the whole transaction
  /// and is an ErpError.
  void commitTransaction();
  /// Ends the innermost level undoing its changes.
  void rollbackTransaction();
  /// Number of levels open on the session's connection; 0 outside a transaction.
  int transactionLevel() const;

  /// The applications active for the link's company.
  std::vector<ActiveApplication> activeApplications() const;

  /// The values of `fieldNumbers` in the single record of options view `viewId`; empty values
  /// when the record does not exist. Throws std::out_of_range for an unknown view or field and
  /// std::invalid_argument for a view that is not an options view.
  std::vector<Value> readOptionValues(const std::string& viewId,
                                      const std::vector<int>& fieldNumbers) const;

  /// Writes `values` into `fieldNumbers` of the single record of options view `viewId`,
  /// creating the record when missing; refused on a read-only link.
  void writeOptionValues(const std::string& viewId, const std::vector<int>& fieldNumbers,
                         const std::vector<Value>& values);

 private:
  const ViewDef& optionsView(const std::string& viewId) const;
  template <typename Step>
  auto transactionStep(Step step) -> decltype(step());

  int type_;
  bool readOnly_;
  std::shared_ptr<CompanyDatabase> database_;
  std::shared_ptr<ErrorList> errors_;
  std::shared_ptr<SiteDatabase> site_;
  std::string orgId_;
};

}  // namespace erp
