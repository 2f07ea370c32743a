#pragma once

#include <cstdint>
#include <string>

namespace convert {

/// A duration in seconds with one decimal under a minute, else as m:ss or h:mm:ss.
std::string FormatDuration(double seconds);

/// How far a kind has come: "Customers: 1200 of 20000, 15000 records/s, 1.2 s left", where
/// `seconds` have passed since its records were counted; "Customers: counting the records"
/// while `total` is negative, and without rate and time left before the first record is done.
std::string ProgressLine(const std::string& kind, std::int64_t done, std::int64_t total,
                         double seconds);

}  // namespace convert
