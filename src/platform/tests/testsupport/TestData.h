#pragma once

#include <string>

namespace platform::testing {

/// The bytes of a data file of the tests, named from the top of the source tree
/// ("util/tests/data/x.ini"); a missing file fails the calling test.
std::string TestData(const std::string& name);

/// A log with each line's date and time stamp replaced by "<stamp>", so that it compares with a
/// golden log written on another day.
std::string MaskStamps(const std::string& log);

}  // namespace platform::testing
