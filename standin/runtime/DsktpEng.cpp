#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

struct StringResource {
  std::uint32_t id;
  const char* text;
};

// The edition names sit at 3509 plus the edition code kept in the registry.
constexpr StringResource kStrings[] = {
    {3509, "Sage 300 Small Business"},
    {3510, "Sage 300 Standard"},
    {3511, "Sage 300 Premium"},
};

}  // namespace

// Copies the string with this ID into the buffer, cut to fit and NUL-terminated, and returns the
// number of characters copied; 0 when there is no such string or no room for one character.
extern "C" __attribute__((visibility("default"))) std::int32_t LoadStringA(void* /*module*/,
                                                                           std::uint32_t id,
                                                                           char* buffer,
                                                                           std::int32_t size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  const auto* found = std::find_if(std::begin(kStrings), std::end(kStrings),
                                   [id](const StringResource& entry) { return entry.id == id; });
  if (found == std::end(kStrings)) return 0;
  const auto length = static_cast<std::int32_t>(
      std::min<std::size_t>(std::strlen(found->text), static_cast<std::size_t>(size - 1)));
  std::memcpy(buffer, found->text, static_cast<std::size_t>(length));
  buffer[length] = '\0';
  return length;
}
