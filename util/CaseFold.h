#pragma once

#include <string>
#include <string_view>

namespace util {

/// The text with the ASCII capitals A to Z turned into small letters; other bytes are kept.
inline std::string FoldCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

/// The text with the ASCII small letters a to z turned into capitals; other bytes are kept.
inline std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

/// Whether two texts are equal when ASCII letters are compared without regard to case.
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

}  // namespace util
