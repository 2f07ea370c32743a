#pragma once

#include <chrono>
#include <ctime>
#include <string>

namespace platform {

/// `when` in the local time zone.
std::tm LocalTime(std::chrono::system_clock::time_point when);

/// `when` in the local time zone as strftime's `pattern` makes it.
std::string FormatLocalTime(std::chrono::system_clock::time_point when, const char* pattern);

/// `local` as strftime's `pattern` makes it.
std::string FormatTime(const std::tm& local, const char* pattern);

}  // namespace platform
