#include "convert/ProgressText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace convert {

std::string FormatDuration(double seconds) {
  char text[32];
  if (seconds < 59.95) {
    std::snprintf(text, sizeof text, "%.1f s", std::max(0.0, seconds));
    return text;
  }
  const long total = std::lround(seconds);
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

std::string ProgressLine(const std::string& kind, std::int64_t done, std::int64_t total,
                         double seconds) {
  if (total < 0) return kind + ": counting the records";
  std::string line = kind + ": " + std::to_string(done) + " of " + std::to_string(total);
  if (done > 0 && seconds > 0) {
    const double rate = static_cast<double>(done) / seconds;
    line += ", " + std::to_string(std::lround(rate)) + " records/s, " +
            FormatDuration(static_cast<double>(total - done) / rate) + " left";
  }
  return line;
}

}  // namespace convert
