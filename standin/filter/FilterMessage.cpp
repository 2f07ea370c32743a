#include "standin/filter/FilterMessage.h"

#include "standin/filter/Filter.h"

namespace erp {
namespace {

// Long enough for any field name, short enough to keep a message on one line.
constexpr size_t kMaxQuotedLength = 40;

}  // namespace

void throwFilterError(const std::string& problem, size_t position) {
  throw FilterError(problem + " at position " + std::to_string(position) + ".", position);
}

std::string messageText(std::string_view text) {
  std::string shown;
  for (char c : text.substr(0, kMaxQuotedLength)) {
    auto byte = static_cast<unsigned char>(c);
    shown += byte < 0x20 || byte == 0x7f ? '?' : c;
  }
  if (text.size() > kMaxQuotedLength) shown += "...";
  return shown;
}

}  // namespace erp
