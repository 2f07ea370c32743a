#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace erp {

/// Throws FilterError whose message is `problem` followed by " at position N.".
[[noreturn]] void throwFilterError(const std::string& problem, size_t position);

/// Filter text fit to quote in a message: control characters become '?', and a long text is cut.
std::string messageText(std::string_view text);

}  // namespace erp
