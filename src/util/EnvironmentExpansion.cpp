#include "util/EnvironmentExpansion.h"

#include <cstdlib>

namespace util {

std::string ExpandEnvironmentReferences(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    const size_t close = text.find('%', i + 1);
    if (close == std::string::npos) {
      out += text.substr(i);
      break;
    }
    const std::string name = text.substr(i + 1, close - i - 1);
    const char* found = name.empty() ? nullptr : std::getenv(name.c_str());
    if (found) {
      out += found;
      i = close + 1;
    } else {
      // The closing sign may open the next reference, as in "%UNSET%HOME%".
      out += text.substr(i, close - i);
      i = close;
    }
  }
  return out;
}

}  // namespace util
