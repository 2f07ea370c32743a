#include "standin/site/ValueStore.h"

#include <utility>

namespace erp {
namespace {

bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

/// The first `limit` UTF-8 characters of `text`, never splitting a character.
std::string leadingCharacters(const std::string& text, size_t limit) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (isContinuationByte(text[i])) continue;
    if (characters == limit) return text.substr(0, i);
    ++characters;
  }
  return text;
}

}  // namespace

void ValueStore::set(const std::string& key, std::string value) {
  values_[key] = std::move(value);
}

void ValueStore::remove(const std::string& key) {
  values_.erase(key);
}

bool ValueStore::contains(const std::string& key) const {
  return values_.count(key) > 0;
}

std::string ValueStore::read(const std::string& key) const {
  const auto found = values_.find(key);
  return found == values_.end() ? std::string() : leadingCharacters(found->second, kReadLimit);
}

}  // namespace erp
