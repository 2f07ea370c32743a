#include "gui/help/UserGuide.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <filesystem>

namespace gui {
namespace {

constexpr int kLastFailureCode = 32;

bool IsFile(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

const char* const kBuiltUserGuide = ORDAVEL_BUILT_USER_GUIDE;

std::string UserGuidePath(const std::string& programFolder, const std::string& builtGuide) {
  const std::string installed = util::JoinPath(programFolder, kUserGuideFile);
  const std::filesystem::path onDisk = util::ResolvePathCase(installed);
  if (IsFile(onDisk)) return onDisk.string();
  if (!builtGuide.empty() && IsFile(builtGuide)) return builtGuide;
  return installed;
}

void OpenUserGuide(util::Shell& shell, util::Notifier& notifier, const std::string& programFolder,
                   const std::string& builtGuide) {
  const std::string guide = UserGuidePath(programFolder, builtGuide);
  if (!IsFile(guide)) {
    notifier.Critical(guide + " does not exist.");
  } else if (shell.Open(util::Quote(guide)) <= kLastFailureCode) {
    notifier.CannotOpen("No program could be started to view " + guide + ".", guide);
  }
}

}  // namespace gui
