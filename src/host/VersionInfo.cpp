#include "host/VersionInfo.h"

#include "host/FileVersion.h"
#include "host/SharedLibrary.h"
#include "platform/LocalTime.h"
#include "util/IniFile.h"
#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"
#include "util/cRegistry.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <variant>

namespace host {
namespace {

using LoadStringEntry = std::int32_t(void*, std::uint32_t, char*, std::int32_t);

std::int32_t EditionFromValue(const util::RegValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return 0;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::int32_t parsed = 0;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), parsed);
    if (error == std::errc() && end == text->data() + text->size()) return parsed;
  }
  return 1;
}

std::string ProductUpdate(const AccpacPaths& paths) {
  util::IniFile ini;
  ini.Path(util::JoinPath(paths.RuntimePath(), "A4W.INI"));
  ini.Section("General");
  ini.key("ProductUpdate");
  return ini.value();
}

}  // namespace

std::string GetProgramBuild(const std::filesystem::path& executable) {
  std::error_code error;
  const auto modified = std::filesystem::last_write_time(executable, error);
  if (error) return {};
  const std::tm local =
      platform::LocalTime(std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          std::chrono::file_clock::to_sys(modified)));
  using namespace std::chrono;
  const year_month_day date{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                            day{unsigned(local.tm_mday)}};
  const auto days = (sys_days{date} - sys_days{year{2000} / January / 1}).count();
  char text[64];
  std::snprintf(text, sizeof text, "Build %ld created on %04d/%02u/%02u", static_cast<long>(days),
                static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()));
  return text;
}

std::string GetSystemManagerVersion(const AccpacPaths& paths, platform::Registry& registry) {
  try {
    const std::string pu = ProductUpdate(paths);
    const FileVersion version =
        ReadFileVersion(util::ResolvePathCase(util::JoinPath(paths.RuntimePath(), "accpac.exe")))
            .value_or(FileVersion{});
    // The build number is written as a letter, and past the last character code there is none.
    if (65 + version.build > 255) return {};
    const std::string v = std::to_string(version.major) + "." + std::to_string(version.minor) +
                          static_cast<char>(65 + version.build);
    const std::string e = GetEditionName(paths, kEditionNameBase + GetErpEdition(registry));
    std::string result = "(" + v + ")(" + e + ")(Build " + std::to_string(version.revision) + ")";
    if (!pu.empty()) result += "(Product Update " + pu + ")";
    return result;
  } catch (const std::exception&) {
    return {};
  }
}

std::int32_t GetErpEdition(platform::Registry& registry) {
  try {
    util::cRegistry key(registry);
    key.ClassKey(platform::kLocalMachine);
    key.SectionKey(kAccpacConfigurationKey);
    key.ValueType(platform::kRegDword);
    key.ValueKey("Edition");
    if (!key.KeyExists()) return 1;
    return EditionFromValue(key.value());
  } catch (const std::exception&) {
    return 1;
  }
}

std::string GetEditionName(const AccpacPaths& paths, std::int32_t lStringId) {
  const SharedLibrary library(util::JoinPath(paths.RuntimePath(), "DsktpEng.dll"));
  auto* loadString = library.Entry<LoadStringEntry>("LoadStringA");
  if (loadString == nullptr) return {};
  std::array<char, 512> buffer{};
  loadString(library.Handle(), static_cast<std::uint32_t>(lStringId), buffer.data(),
             static_cast<std::int32_t>(buffer.size()));
  return std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
}

}  // namespace host
