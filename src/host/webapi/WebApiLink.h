#pragma once

#include "host/DatabaseLink.h"
#include "host/Session.h"
#include "host/webapi/RecordWrite.h"
#include "host/webapi/WebApiCompany.h"

#include <memory>
#include <utility>
#include <vector>

namespace host::webapi {

/// The company's database link over the Web API.
///
/// The Web API has no transactions: every PATCH is saved at once, one record each. So a
/// transaction here holds the one record's write until its outermost level is committed, which
/// the conversion does only after it has staged the record's log lines: a run killed in between
/// finds the lines staged and the record to prove them. Undoing a level drops its write unsent.
/// A second record's write inside one transaction is refused, because two PATCHes could not be
/// saved or undone together.
class WebApiLink : public host::DatabaseLink {
 public:
  /// A link of `session` on `company`; a `readOnly` link refuses every change of its views, and
  /// one that may not `save` lets them be made but never sends them (a preview's).
  WebApiLink(std::shared_ptr<WebApiCompany> company, host::Session& session, bool readOnly,
             bool save = true);

  void Close() override {}
  int ActiveApplicationCount() const override;
  std::string ApplicationID(int index) const override;
  std::string ApplicationSecondID(int index) const override;
  std::vector<Variant> ReadOptionValues(const std::string& viewId,
                                        const std::vector<int>& fieldNumbers) const override;
  int TransactionBegin() override;
  void TransactionCommit() override;
  void TransactionRollback() override;
  int TransactionLevel() const override { return level_; }
  bool SavesRecordsAlone() const override { return true; }

  WebApiCompany& Company() const { return *company_; }
  host::Session& Session() const { return session_; }
  bool ReadOnly() const { return readOnly_; }
  /// Saves a record now outside a transaction, else when the transaction is committed. Raises
  /// HostError when the save fails, or when the transaction holds another record's write.
  void Save(RecordWrite write);

 private:
  void Execute(const RecordWrite& write);

  std::shared_ptr<WebApiCompany> company_;
  host::Session& session_;
  bool readOnly_;
  bool save_;
  int level_ = 0;
  std::vector<std::pair<int, RecordWrite>> pending_;  ///< with the level that made it
};

}  // namespace host::webapi
