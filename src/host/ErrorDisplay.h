#pragma once

#include "host/Session.h"

#include <string>

namespace host {

/// The ERP's standard error display, one object per call.
class ErrorDisplay {
 public:
  virtual ~ErrorDisplay() = default;

  /// Adds `text` with `priority` to the session's error list.
  virtual void Put(Session& session, const std::string& source, int priority,
                   const std::string& text, const std::string& help, const std::string& helpFile,
                   int helpId) = 0;
  /// Shows the session's error list to the operator.
  virtual void Show(Session& session) = 0;
  /// Empties the session's error list.
  virtual void Clear(Session& session) = 0;
};

}  // namespace host
