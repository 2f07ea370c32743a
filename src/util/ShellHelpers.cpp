#include "util/ShellHelpers.h"

#include "platform/Text.h"
#include "util/Addresses.h"
#include "util/ResolvePathCase.h"
#include "util/XdgShell.h"

namespace util {
namespace {

constexpr int kLastFailureCode = 32;

}  // namespace

std::string EscapeQuotes(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '"') out += '\\';
    out += c;
  }
  out += ' ';
  return out;
}

std::string Quote(const std::string& text) {
  return "\"" + text + "\"";
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  std::string joined = folder;
  if (!folder.empty() && folder.back() != '/' && (name.empty() || name.front() != '/')) {
    joined += '/';
  }
  return joined + name;
}

void OpenURL(Shell& shell, Notifier& notifier, std::string address) {
  if (platform::FoldCase(address.substr(0, 4)) != "http") address = "http://" + address;
  if (shell.Open(address) <= kLastFailureCode) {
    notifier.CannotOpen("Cannot start browser to view " + address + ".", address);
  }
}

void OpenDocument(Shell& shell, Notifier& notifier, const std::string& programFolder,
                  const std::string& relativePath) {
  // Opening the user guide is a courtesy: nothing that goes wrong here may stop the program.
  try {
    const std::string fullPath = JoinPath(programFolder, relativePath);
    const std::filesystem::path onDisk = ResolvePathCase(fullPath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(onDisk, ec)) {
      notifier.Critical(fullPath + " does not exist.");
      return;
    }
    if (shell.Open(Quote(onDisk.string())) <= kLastFailureCode) {
      notifier.CannotOpen("You must install Adobe Acrobat Reader in order to view " + fullPath +
                              ". You can download and install Adobe Acrobat Reader from " +
                              kPdfReaderDownload + ".",
                          onDisk.string());
    }
  } catch (...) {
  }
}

bool ExploreFolder(Shell& shell, const std::string& folder) {
  return shell.Explore(Quote(folder));
}

bool ReportingShell::Explore(const std::string& folder) {
  if (shell_.Explore(folder)) return true;
  const std::string shown = XdgShell::Unquoted(folder);
  notifier_.CannotOpen(kCannotShowFolder, shown);
  return false;
}

}  // namespace util
