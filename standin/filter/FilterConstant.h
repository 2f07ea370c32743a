#pragma once

#include "standin/catalog/Value.h"

#include <string>
#include <string_view>

namespace erp {

/// The outcome of reading a filter constant as a number.
enum class NumberReading { Number, NotANumber, OutOfRange };

/// Reads an optionally signed decimal number, blanks around it allowed: a whole number gives an
/// int64, one with a fraction gives a double; `value` is set only for NumberReading::Number.
NumberReading readFilterNumber(std::string_view text, Value& value);

/// Turns a LIKE pattern (`%` any run, `_` one character) into an equivalent GLOB pattern.
std::string likeToGlob(std::string_view pattern);

}  // namespace erp
