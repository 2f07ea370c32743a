#pragma once

#include <stdexcept>
#include <string>

namespace erp {

/// An error the stand-in ERP raises to its caller; its text is also in the session's error list.
class ErpError : public std::runtime_error {
 public:
  explicit ErpError(const std::string& message, int code = kGeneral)
      : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

  static constexpr int kGeneral = 1;

 private:
  int code_;
};

/// Return codes of insert, update and delete.
enum ReturnCode : int {
  kRcOk = 0,
  kRcNotFound = 1,   ///< no current record to act on
  kRcDuplicate = 2,  ///< a record with that key exists already
  kRcChanged = 3,    ///< another session changed the record since it was read
  kRcRefused = 4,    ///< the change was refused (read-only link, invalid record)
  kRcLocked = 5,     ///< the database stayed locked by another program
};

}  // namespace erp
