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

/// Shows a folder in the file browser; the outcome is not looked at.
void ExploreFolder(Shell& shell, const std::string& folder);

}  // namespace util
