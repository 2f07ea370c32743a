#include "util/RegValue.h"

namespace util {

std::string RegValueText(const RegValue& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(std::int32_t number) const { return std::to_string(number); }
    std::string operator()(const std::vector<std::uint8_t>& bytes) const {
      return std::string(bytes.begin(), bytes.end());
    }
  };
  return std::visit(Visitor{}, value);
}

}  // namespace util
