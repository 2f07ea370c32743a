#include "platform/LocalTime.h"

namespace platform {

std::tm LocalTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

std::string FormatLocalTime(std::chrono::system_clock::time_point when, const char* pattern) {
  return FormatTime(LocalTime(when), pattern);
}

std::string FormatTime(const std::tm& local, const char* pattern) {
  char buffer[128];
  const size_t length = std::strftime(buffer, sizeof buffer, pattern, &local);
  return std::string(buffer, length);
}

}  // namespace platform
