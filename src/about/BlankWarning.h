#pragma once

#include <optional>
#include <string>

namespace about {

/// The warning about blanks at the ends of `text`, named by `caption` ("Company contains 2 leading
/// space(s)."), or nullopt when neither end has a blank.
std::optional<std::string> BlankWarning(const std::string& caption, const std::string& text);

}  // namespace about
