#pragma once

#include "standin/site/RegistryStore.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace erp {

/// The local-machine key that tells programs where the ERP is installed.
inline constexpr const char* kConfigurationKey =
    "SOFTWARE\\ACCPAC International, Inc.\\ACCPAC\\Configuration";

/// What an installed stand-in runtime reports about itself.
struct RuntimeOptions {
  /// Folder of the built a4wapi.dll and DsktpEng.dll; empty = the running executable's folder.
  std::filesystem::path libraryFolder;
  /// Edition code stored in the registry; 2 names the Premium edition.
  std::int32_t edition = 2;
  /// The product update level in A4W.INI; empty leaves the key out.
  std::string productUpdate = "2";
  /// File version of accpac.exe: major, minor, build (0 = "A"), revision.
  std::array<std::uint16_t, 4> accpacVersion{6, 6, 0, 40};
};

/// Installs the ERP's runtime files into `programsFolder`/runtime (the two libraries, accpac.exe
/// and A4W.INI) and records the program and shared-data folders and the edition in `registry`.
/// Throws std::runtime_error when a library is missing or a file cannot be written.
void installStandinRuntime(const std::filesystem::path& programsFolder,
                           const std::filesystem::path& sharedData, RegistryStore& registry,
                           const RuntimeOptions& options = {});

}  // namespace erp
