#pragma once

#include "util/Shell.h"

#include <string>

namespace gui {

/// The user guide below the program's folder, where an installation puts it.
inline constexpr const char* kUserGuideFile = "Documentation/Ordavel User Guide.pdf";

/// The user guide the build made from docs/guide, for a program run from the build tree.
extern const char* const kBuiltUserGuide;

/// The user guide to show: the one below `programFolder` when it is there, else `builtGuide` when
/// that is there, else the path below `programFolder` that is missing.
std::string UserGuidePath(const std::string& programFolder,
                          const std::string& builtGuide = kBuiltUserGuide);

/// Opens the user guide with the desktop's viewer for PDF files; tells the operator through
/// `notifier` when the guide is missing or no viewer could be started. What the Help menu's User
/// Guide command does.
void OpenUserGuide(util::Shell& shell, util::Notifier& notifier, const std::string& programFolder,
                   const std::string& builtGuide = kBuiltUserGuide);

}  // namespace gui
