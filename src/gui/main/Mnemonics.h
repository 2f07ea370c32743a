#pragma once

#include <set>
#include <string>

namespace gui {

/// The letter after the first single "&" of a caption, in lower case; 0 when it has none.
char MnemonicOf(const std::string& caption);

/// The caption with a mnemonic no other control in reach uses: the first letter of a word that
/// names the thing (a leading "Convert" names none) where it is free, else another letter of
/// those words, else of the whole caption. `used` holds the letters taken (lower case) and gets
/// the one chosen; a caption that has one already, or has no free letter, comes back as it is.
std::string WithMnemonic(const std::string& caption, std::set<char>& used);

}  // namespace gui
