#pragma once

#include "host/DataSource.h"

#include <string>

namespace convert {

/// The values of the current record's key fields (current key, in key order) joined by "-".
std::string GetRecordKey(host::DataSource& source);

/// Puts the lowest possible value into each field of the current key, so that a following
/// browse starts at the first record.
void ResetKeyFields(host::DataSource& source);

std::string ConvertingText(host::DataSource& source);
std::string SkippedText(host::DataSource& source);
std::string SucceededText(host::DataSource& source);
/// "Convert <view> <key> failed. Return code=<code>." with the code as a signed 16-bit number.
std::string FailedText(host::DataSource& source);
/// "Ordavel for <view> failed."
std::string KindFailedText(host::DataSource& source);

}  // namespace convert
