#include "gui/help/UserGuide.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <QUrl>

#include <cctype>
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
const char* const kBuiltUserGuidePage = ORDAVEL_BUILT_USER_GUIDE_HTML;

std::string UserGuidePath(const std::string& programFolder, const std::string& builtGuide,
                          const char* file) {
  const std::string installed = util::JoinPath(programFolder, file);
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

std::string GuideAnchor(const std::string& heading) {
  std::string anchor;
  for (const char c : heading) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '-') {
      anchor += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (c == ' ') {
      anchor += '-';
    }
  }
  return anchor;
}

std::string UserGuideSection(const std::string& programFolder, const std::string& heading,
                             const std::string& builtPage) {
  const std::string page = UserGuidePath(programFolder, builtPage, kUserGuidePage);
  if (!IsFile(page)) return {};
  const QUrl url = QUrl::fromLocalFile(
      QString::fromStdString(std::filesystem::absolute(page).lexically_normal().string()));
  return url.toString(QUrl::FullyEncoded).toStdString() + "#" + GuideAnchor(heading);
}

void OpenUserGuideAt(util::Shell& shell, util::Notifier& notifier, const std::string& programFolder,
                     const std::string& heading, const std::string& builtPage) {
  const std::string section = UserGuideSection(programFolder, heading, builtPage);
  if (section.empty()) {
    OpenUserGuide(shell, notifier, programFolder);
  } else if (shell.Open(section) <= kLastFailureCode) {
    notifier.CannotOpen("No program could be started to view " + section + ".", section);
  }
}

}  // namespace gui
