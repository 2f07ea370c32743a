#pragma once

#include <string>

namespace util {

/// The desktop shell that opens documents, web pages and folders.
class Shell {
 public:
  virtual ~Shell() = default;
  /// Opens a document or address with its usual program; above 32 means the program started.
  virtual int Open(const std::string& target) = 0;
  /// Shows a folder in the file browser; the outcome is not reported.
  virtual void Explore(const std::string& folder) = 0;
};

/// Shows error messages to the operator: critical icon, title "Ordavel".
class Notifier {
 public:
  virtual ~Notifier() = default;
  /// Shows one error message and returns when the operator has seen it.
  virtual void Critical(const std::string& text) = 0;
};

}  // namespace util
