#pragma once

#include "host/AccpacPaths.h"
#include "platform/Registry.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace host {

/// String ID of the first edition name in "DsktpEng.dll"; the edition code is added to it.
inline constexpr std::int32_t kEditionNameBase = 3509;

/// "Build N created on yyyy/mm/dd": N counts the days from 1 January 2000 to the local date the
/// executable was last modified; the empty text when its date cannot be read.
std::string GetProgramBuild(const std::filesystem::path& executable = "/proc/self/exe");

/// The installed system manager, such as "(6.0B)(edition name)(Build 25)(Product Update 2)",
/// from accpac.exe's file version, the edition and A4W.INI; "(Product Update N)" only when A4W.INI
/// names one.
std::string GetSystemManagerVersion(const AccpacPaths& paths, platform::Registry& registry);

/// The edition code in the registry: 1 when the key is missing or cannot be read, 0 when the key
/// exists without the value.
std::int32_t GetErpEdition(platform::Registry& registry);

/// The string with this ID in "DsktpEng.dll" of the runtime folder, or the empty text.
std::string GetEditionName(const AccpacPaths& paths, std::int32_t lStringId);

}  // namespace host
