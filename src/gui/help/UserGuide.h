#pragma once

#include "util/Shell.h"

#include <string>

namespace gui {

/// The user guide below the program's folder, where an installation puts it.
inline constexpr const char* kUserGuideFile = "Documentation/Ordavel User Guide.pdf";

/// The user guide as one web page, beside the PDF, with an anchor at every section.
inline constexpr const char* kUserGuidePage = "Documentation/Ordavel User Guide.html";

/// The user guide the build made from docs/guide, for a program run from the build tree.
extern const char* const kBuiltUserGuide;
/// The same as a web page.
extern const char* const kBuiltUserGuidePage;

/// The user guide to show: the one below `programFolder` when it is there, else `builtGuide` when
/// that is there, else the path below `programFolder` that is missing.
std::string UserGuidePath(const std::string& programFolder,
                          const std::string& builtGuide = kBuiltUserGuide,
                          const char* file = kUserGuideFile);

/// Opens the user guide with the desktop's viewer for PDF files; tells the operator through
/// `notifier` when the guide is missing or no viewer could be started. What the Help menu's User
/// Guide command does.
void OpenUserGuide(util::Shell& shell, util::Notifier& notifier, const std::string& programFolder,
                   const std::string& builtGuide = kBuiltUserGuide);

/// The anchor of a section of the guide's web page: its heading in lower case, without
/// punctuation, its words joined by hyphens ("Accounts Receivable" is "accounts-receivable").
std::string GuideAnchor(const std::string& heading);

/// The address of the guide's web page at section `heading`, as a file URL; empty when the page
/// is not there.
std::string UserGuideSection(const std::string& programFolder, const std::string& heading,
                             const std::string& builtPage = kBuiltUserGuidePage);

/// Opens the guide at section `heading` (F1): the web page at the section's anchor, since a
/// browser scrolls to an anchor it is handed while the desktop's PDF viewers each want named
/// destinations in a form of their own; without the page, the PDF at its start.
void OpenUserGuideAt(util::Shell& shell, util::Notifier& notifier, const std::string& programFolder,
                     const std::string& heading,
                     const std::string& builtPage = kBuiltUserGuidePage);

}  // namespace gui
