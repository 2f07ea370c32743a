#include "host/AccpacPaths.h"

#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"
#include "util/cRegistry.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <optional>

namespace host {
namespace {

// Whether the key exists is asked of the key, not of the value: a key without the value gives an
// empty folder.
std::optional<std::string> ReadFolder(platform::Registry& registry, const char* valueName) {
  util::cRegistry key(registry);
  key.ClassKey(platform::kLocalMachine);
  key.SectionKey(kAccpacConfigurationKey);
  key.ValueType(platform::kRegString);
  key.ValueKey(valueName);
  if (!key.KeyExists()) return std::nullopt;
  return util::RegValueText(key.value());
}

}  // namespace

AccpacPaths::AccpacPaths(platform::Registry& registry, util::Notifier& notifier) {
  try {
    ReadFolders(registry);
  } catch (const std::exception& error) {
    installed_ = false;
    notifier.Critical(
        std::string("A critical error occured in determining Accpac path information. Error=") +
        error.what());
  }
}

void AccpacPaths::ReadFolders(platform::Registry& registry) {
  if (std::optional<std::string> programs = ReadFolder(registry, "Programs")) {
    programsPath_ = *programs;
    runtimePath_ = util::JoinPath(programsPath_, "runtime");
  } else {
    installed_ = false;
  }
  if (std::optional<std::string> sharedData = ReadFolder(registry, "SharedData")) {
    sharedDataPath_ = *sharedData;
    sitePath_ = util::JoinPath(sharedDataPath_, "SITE");
    companyPath_ = util::JoinPath(sharedDataPath_, "COMPANY");
    userPath_ = util::JoinPath(sharedDataPath_, "USER");
  } else {
    installed_ = false;
  }
  if (installed_) {
    installed_ = std::filesystem::is_regular_file(
        util::ResolvePathCase(util::JoinPath(runtimePath_, "a4wapi.dll")));
  }
}

std::string AccpacPaths::OrgPath(const std::string& sOrgId) const {
  return sOrgId.empty() ? companyPath_ : util::JoinPath(companyPath_, sOrgId);
}

void AccpacPaths::CWDToRuntime() const {
  [[maybe_unused]] int ignored = ::chdir(util::ResolvePathCase(runtimePath_).c_str());
}

}  // namespace host
