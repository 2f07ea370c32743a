#pragma once

#include <string>

namespace util {

/// Replaces each %NAME% whose variable is set by its value; other texts between percent signs
/// are kept as they are.
std::string ExpandEnvironmentReferences(const std::string& text);

}  // namespace util
