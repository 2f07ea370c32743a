#pragma once

#include <string>
#include <string_view>

namespace platform {

/// The text with the ASCII capitals A to Z turned into small letters; other bytes are kept.
std::string FoldCase(std::string_view text);

/// The text with the ASCII small letters a to z turned into capitals; other bytes are kept.
std::string UpperCase(std::string_view text);

/// Whether two texts are equal when ASCII letters are compared without regard to case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

/// The text without the characters of `blanks` at either end.
std::string Trim(std::string_view text, std::string_view blanks = " ");

/// The text without the characters of `blanks` at its end.
std::string TrimRight(std::string_view text, std::string_view blanks = " ");

}  // namespace platform
