#pragma once

#include <string>

namespace util {

/// The running executable's file name without folder, as error sources name the program.
std::string ProgramName();

}  // namespace util
