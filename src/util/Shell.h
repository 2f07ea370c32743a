#pragma once

#include <string>

namespace util {

/// The desktop shell that opens documents, web pages and folders.
class Shell {
 public:
  virtual ~Shell() = default;
  /// Opens a document or address with its usual program; above 32 means the program started.
  virtual int Open(const std::string& target) = 0;
  /// Shows a folder in the file browser; false when no file browser could be started or the
  /// launcher said it found none.
  virtual bool Explore(const std::string& folder) = 0;
};

/// Shows error messages to the operator: critical icon, title "Ordavel".
class Notifier {
 public:
  virtual ~Notifier() = default;
  /// Shows one error message and returns when the operator has seen it.
  virtual void Critical(const std::string& text) = 0;
  /// Tells that `target` (a folder, document or address) could not be opened, with `text` saying
  /// so, and offers the target for copying where the notifier can; by default a message that
  /// names the target (on a line of its own where the text does not).
  virtual void CannotOpen(const std::string& text, const std::string& target) {
    Critical(text.find(target) == std::string::npos ? text + "\n" + target : text);
  }
};

}  // namespace util
