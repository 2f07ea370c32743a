#pragma once

#include <string>
#include <vector>

namespace host {

/// One entry of a session's error list as the operator is shown it.
struct ErrorListEntry {
  int priority = 3;  ///< 1 message, 2 warning, 3 error, 4 security
  std::string text;
  bool operator==(const ErrorListEntry&) const = default;
};

/// Where the ERP's standard error display shows a session's error list to the operator. It is
/// only asked with a list that holds something; emptying the list is the caller's.
class ErrorListView {
 public:
  virtual ~ErrorListView() = default;

  /// Shows `entries` in their order and returns when the operator has seen them.
  virtual void Show(const std::vector<ErrorListEntry>& entries) = 0;
};

}  // namespace host
