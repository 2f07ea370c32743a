#pragma once

#include "host/Variant.h"

#include <string>
#include <vector>

namespace host {

/// A session's database link: the company's (type 1) or the system's (type 0).
class DatabaseLink {
 public:
  virtual ~DatabaseLink() = default;

  virtual void Close() = 0;
  /// Number of applications active for the company.
  virtual int ActiveApplicationCount() const = 0;
  /// Application ID of the active application at `index` (from 0).
  virtual std::string ApplicationID(int index) const = 0;
  /// Second identifying text of the active application at `index` (from 0).
  virtual std::string ApplicationSecondID(int index) const = 0;
  /// Values of `fieldNumbers` of the options view `viewId`.
  virtual std::vector<Variant> ReadOptionValues(const std::string& viewId,
                                                const std::vector<int>& fieldNumbers) const = 0;

  /// Starts a transaction on the link, or a nested level (a savepoint) inside the one open: what
  /// the link's data sources write from then on is kept or undone with it. The outermost level
  /// holds the company's write lock until it ends. Returns the new level, 1 for the outermost;
  /// raises HostError when the ERP refuses.
  virtual int TransactionBegin() = 0;
  /// Ends the innermost level keeping its changes: they join the level around it, or are saved
  /// for good when it is the outermost. A failed commit undoes the whole transaction and raises
  /// HostError.
  virtual void TransactionCommit() = 0;
  /// Ends the innermost level undoing its changes.
  virtual void TransactionRollback() = 0;
  /// Number of levels open; 0 outside a transaction.
  virtual int TransactionLevel() const = 0;
  /// Whether the link saves each record on its own, so that a transaction holds one record's
  /// changes at most (the Web API, which has no transactions).
  virtual bool SavesRecordsAlone() const { return false; }
};

}  // namespace host
