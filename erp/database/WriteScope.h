#pragma once

#include "erp/database/CompanyDatabase.h"

namespace erp {

/// The transaction of one write of a view. Outside a transaction it is its own, taking the write
/// lock at once; inside one (a transaction of a database link) it is a savepoint, so that a
/// refused write undoes only its own changes and leaves the rest of the transaction open.
class WriteScope {
 public:
  explicit WriteScope(CompanyDatabase& database);
  /// Undoes the write unless it was committed.
  ~WriteScope();
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;

  /// Keeps the write: commits it, or releases its savepoint into the transaction around it.
  void commit();

 private:
  CompanyDatabase& database_;
  bool nested_;
  bool ended_ = false;
};

}  // namespace erp
