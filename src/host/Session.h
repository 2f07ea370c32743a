#pragma once

#include "host/DatabaseLink.h"

#include <memory>
#include <string>

namespace host {

/// The ERP's list of errors and messages of one session.
class ErrorCollection {
 public:
  virtual ~ErrorCollection() = default;
  virtual int Count() const = 0;
  /// Text of the message at `index` (from 0).
  virtual std::string Text(int index) const = 0;
  /// Priority of the message at `index` (1 message, 2 warning, 3 error).
  virtual int Priority(int index) const = 0;
  virtual void Clear() = 0;
};

/// One signed-on ERP session: company, user, shared data, error list, value store, links.
class Session {
 public:
  virtual ~Session() = default;

  virtual std::string CompanyID() const = 0;
  virtual std::string UserID() const = 0;
  /// The ERP's shared-data folder.
  virtual std::string SharedDataFolder() const = 0;
  /// The folder of the company's conversion logs when the session keeps them in one of its own;
  /// empty when they go below the shared-data folder ("Company", the company ID, "Ordavel").
  virtual std::string LogFolder() const { return {}; }
  /// The base address of the ERP's Web API the session converts through; empty for the local ERP.
  virtual std::string WebApiAddress() const { return {}; }
  virtual ErrorCollection& Errors() = 0;
  /// Removes the value stored under `key` in the session's value store.
  virtual void RemoveValue(const std::string& key) = 0;
  /// The value stored under `key`, at most `maxLength` characters; empty when none.
  virtual std::string ReadValue(const std::string& key, size_t maxLength) const = 0;
  /// Opens a database link of `type` (0 system, 1 company) with `flags` (0 read-write,
  /// 1 read-only).
  virtual std::shared_ptr<DatabaseLink> OpenDBLink(int type, int flags) = 0;
  /// The secret that signs the program's change files for this company. The ERP keeps it with
  /// the company's data, so that only those who may read that data can read it, and makes it
  /// when `create` and there is none yet. Empty when there is none, or when the ERP keeps no
  /// secrets for programs. Raises an error when it cannot be read or made.
  virtual std::string ChangeFileKey(bool /*create*/) { return {}; }
};

}  // namespace host
