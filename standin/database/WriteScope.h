#pragma once

#include "standin/database/CompanyDatabase.h"

namespace erp {

/// The transaction of one write of a view. Outside a transaction it is its own, taking the write
/// lock at once; inside one (a transaction of a database link) it is a savepoint, so that a
/// refused write undoes only its own changes and leaves the rest of the transaction open.
class WriteScope {
 public:
  /// How many statements the write takes. One statement inside a transaction needs no savepoint:
  /// it either changes its row or nothing, and a database error that stops it midway undoes the
  /// whole transaction either way. A savepoint there copies every page it touches once more.
  enum class Statements { One, Several };

  explicit WriteScope(CompanyDatabase& database, Statements statements = Statements::Several);
  /// Undoes the write unless it was committed.
  ~WriteScope();
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;

  /// Keeps the write: commits it, or releases its savepoint into the transaction around it.
  void commit();

 private:
  CompanyDatabase& database_;
  bool nested_;
  bool savepoint_;
  bool ended_ = false;
};

}  // namespace erp
