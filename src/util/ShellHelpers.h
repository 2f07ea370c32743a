#pragma once

#include <filesystem>
#include <string>

#include "util/Shell.h"

namespace util {

/// The text made safe inside a double-quoted ERP filter value: each " becomes \" and one blank
/// is appended, so that a value ending in a backslash cannot escape the closing quote.
std::string EscapeQuotes(const std::string& text);

/// The text between double-quote characters.
std::string Quote(const std::string& text);

/// Joins a folder and a name with "/" only when the folder is not empty, does not end with "/"
/// and the name does not begin with "/"; no separator is ever removed.
std::string JoinPath(const std::string& folder, const std::string& name);

/// Opens a web address in the browser ("http://" is put in front of one without it); tells the
/// operator when no browser could be started.
void OpenURL(Shell& shell, Notifier& notifier, std::string address);

/// Opens a document that lies below the program's folder (the user guide); tells the operator when
/// it is missing or no viewer could be started.
void OpenDocument(Shell& shell, Notifier& notifier, const std::string& programFolder,
                  const std::string& relativePath);

/// Shows a folder in the file browser; false when no file browser could show it.
bool ExploreFolder(Shell& shell, const std::string& folder);

/// The message for a folder that no file browser could show; the folder is offered with it.
inline constexpr const char* kCannotShowFolder =
    "No file browser could be started to show this folder. Open it in a file browser or "
    "terminal of your choice:";

/// A shell that tells the operator through `notifier` when a folder cannot be shown, for the
/// callers that hand a folder over and carry on. Documents and addresses are passed through:
/// their helpers (OpenURL, OpenDocument) tell of a failure in their own words.
class ReportingShell : public Shell {
 public:
  /// `shell` and `notifier` must outlive this object.
  ReportingShell(Shell& shell, Notifier& notifier) : shell_(shell), notifier_(notifier) {}

  int Open(const std::string& target) override { return shell_.Open(target); }
  bool Explore(const std::string& folder) override;

 private:
  Shell& shell_;
  Notifier& notifier_;
};

}  // namespace util
