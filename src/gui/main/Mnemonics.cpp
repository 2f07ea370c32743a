#include "gui/main/Mnemonics.h"

#include <cctype>
#include <optional>
#include <vector>

namespace gui {
namespace {

constexpr const char* kVerb = "Convert ";

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

/// Where in `caption` the mnemonic goes, trying the places in the order the operator expects.
std::optional<std::size_t> FreePlace(const std::string& caption, const std::set<char>& used) {
  const std::size_t start = caption.starts_with(kVerb) ? std::string(kVerb).size() : 0;
  std::vector<std::size_t> places;
  for (std::size_t at = start; at < caption.size(); ++at) {
    if (at == start || caption[at - 1] == ' ' || caption[at - 1] == '-') places.push_back(at);
  }
  for (std::size_t at = start; at < caption.size(); ++at) places.push_back(at);
  for (std::size_t at = 0; at < start; ++at) places.push_back(at);
  for (std::size_t at : places) {
    if (IsLetter(caption[at]) && !used.contains(Lower(caption[at]))) return at;
  }
  return std::nullopt;
}

}  // namespace

char MnemonicOf(const std::string& caption) {
  for (std::size_t at = 0; at + 1 < caption.size(); ++at) {
    if (caption[at] != '&') continue;
    if (caption[at + 1] != '&') return Lower(caption[at + 1]);
    ++at;
  }
  return 0;
}

std::string WithMnemonic(const std::string& caption, std::set<char>& used) {
  if (const char existing = MnemonicOf(caption)) {
    used.insert(existing);
    return caption;
  }
  const std::optional<std::size_t> place = FreePlace(caption, used);
  if (!place) return caption;
  used.insert(Lower(caption[*place]));
  return caption.substr(0, *place) + "&" + caption.substr(*place);
}

}  // namespace gui
