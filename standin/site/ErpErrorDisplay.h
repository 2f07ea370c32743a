#pragma once

#include "standin/database/ErrorList.h"

#include <iosfwd>
#include <string>

namespace erp {

/// Shows a session's error list to the operator; emptying the list is left to the caller.
class ErrorDisplay {
 public:
  virtual ~ErrorDisplay() = default;

  /// Shows every entry of `errors`.
  virtual void show(const ErrorList& errors) = 0;
};

/// The name of a message priority ("Error", "Warning", ...).
std::string priorityName(int priority);

/// Writes each entry as its priority name, a colon and its text, one line each.
class ConsoleErrorDisplay : public ErrorDisplay {
 public:
  /// A display writing to `out` (standard error for the admin command).
  explicit ConsoleErrorDisplay(std::ostream& out);

  void show(const ErrorList& errors) override;

 private:
  std::ostream& out_;
};

}  // namespace erp
