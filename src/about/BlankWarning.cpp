#include "about/BlankWarning.h"

namespace about {

std::optional<std::string> BlankWarning(const std::string& caption, const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  // A text of blanks only has all of them at both ends, as trimming either end would remove them.
  const std::size_t leading = first == std::string::npos ? text.size() : first;
  const std::size_t trailing =
      first == std::string::npos ? text.size() : text.size() - 1 - text.find_last_not_of(' ');

  const std::string start = caption + " contains ";
  if (leading > 0 && trailing == 0) {
    return start + std::to_string(leading) + " leading space(s).";
  }
  if (leading > 0) {
    return start + std::to_string(leading) + " leading space(s), and " + std::to_string(trailing) +
           " trailing space(s).";
  }
  if (trailing > 0) return start + std::to_string(trailing) + " trailing space(s).";
  return std::nullopt;
}

}  // namespace about
