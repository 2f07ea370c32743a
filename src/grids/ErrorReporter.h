#pragma once

#include "host/ErrorDisplay.h"
#include "host/Session.h"

#include <functional>
#include <memory>
#include <string>

namespace grids {

/// Makes the ERP's error display; the ERP wants a fresh one for every call.
using ErrorDisplayFactory = std::function<std::unique_ptr<host::ErrorDisplay>()>;

/// Puts the grids' messages into a session's error list and shows that list.
class ErrorReporter {
 public:
  /// The priority of every message of the grids.
  static constexpr int kErrorPriority = 3;

  explicit ErrorReporter(ErrorDisplayFactory newErrorDisplay)
      : newErrorDisplay_(std::move(newErrorDisplay)) {}

  /// Adds `text` as an error, with empty source and help.
  void Report(host::Session& session, const std::string& text) const;
  /// Shows the session's error list to the operator and then empties it.
  void Show(host::Session& session) const;

 private:
  ErrorDisplayFactory newErrorDisplay_;
};

}  // namespace grids
