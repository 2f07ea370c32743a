#pragma once

#include "convert/ConversionResult.h"

#include <string>
#include <vector>

namespace app {

/// What the window's status bar says, part by part: who is signed on to which company, then,
/// once a run or preview has ended, what each of its kinds counted, the log folder and the run's
/// change file.
std::vector<std::string> StatusParts(const std::string& company, const std::string& user,
                                     const convert::ConversionResult* lastRun, bool preview,
                                     const std::string& logFolder);

/// The status bar's two lines made of StatusParts: who and what each kind counted, then where
/// the files are, the change file by its name when it lies in the log folder.
std::string StatusLines(const std::vector<std::string>& parts, const std::string& logFolder);

}  // namespace app
