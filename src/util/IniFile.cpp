#include "util/IniFile.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>

#include "platform/AtomicFile.h"
#include "platform/Text.h"
#include "util/IniDocument.h"
#include "util/ResolvePathCase.h"

namespace util {
namespace {

std::filesystem::path resolved(const std::string& path) {
  return ResolvePathCase(path);
}

IniDocument load(const std::string& path) {
  std::string content;
  platform::ReadWholeFile(resolved(path), content);
  return IniDocument::parse(content);
}

std::string capped(std::string text) {
  if (text.size() > IniFile::kMaxRead) text.resize(IniFile::kMaxRead);
  return text;
}

std::string nulSeparated(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) {
    out += name;
    out += '\0';
  }
  return capped(out);
}

void splitNulSeparated(const std::string& list, std::vector<std::string>& items, int& count) {
  items.assign(1, std::string());
  count = 0;
  size_t start = 0;
  while (start <= list.size()) {
    size_t nul = list.find('\0', start);
    if (nul == std::string::npos) nul = list.size();
    if (nul > start) {
      items.push_back(list.substr(start, nul - start));
      ++count;
    }
    start = nul + 1;
  }
}

// Applies a change to the file; a change that finds nothing to do succeeds without writing.
template <typename Change>
std::int32_t change(const std::string& path, Change apply) {
  const std::filesystem::path file = resolved(path);
  std::string content;
  std::error_code ec;
  if (std::filesystem::exists(file, ec) && !platform::ReadWholeFile(file, content)) return 0;
  IniDocument document = IniDocument::parse(content);
  if (!apply(document)) return 1;
  return platform::WriteFileAtomically(file, document.text()) ? 1 : 0;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string IniFile::value() const {
  return capped(load(path_).value(section_, key_).value_or(default_));
}

void IniFile::value(std::string& text) {
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  lastReturnCode_ = change(path_, [&](IniDocument& document) {
    document.set(section_, key_, text);
    return true;
  });
}

void IniFile::DeleteKey() {
  lastReturnCode_ =
      change(path_, [&](IniDocument& document) { return document.removeKey(section_, key_); });
}

void IniFile::removeSection() {
  lastReturnCode_ =
      change(path_, [&](IniDocument& document) { return document.removeSection(section_); });
}

void IniFile::DeleteSection() {
  removeSection();
}

std::string IniFile::INISection() const {
  return nulSeparated(load(path_).keys(section_));
}

void IniFile::INISection(const std::string&) {
  removeSection();
}

std::string IniFile::Sections() const {
  return nulSeparated(load(path_).sections());
}

void IniFile::EnumerateCurrentSection(std::vector<std::string>& sKey, int& iCount) const {
  splitNulSeparated(INISection(), sKey, iCount);
}

void IniFile::EnumerateAllSections(std::vector<std::string>& sSections, int& iCount) const {
  splitNulSeparated(Sections(), sSections, iCount);
}

std::int32_t IniFile::CLngDefault(const std::string& sString, std::int32_t lDefault) {
  size_t i = 0;
  size_t end = sString.size();
  while (i < end && isBlank(sString[i])) ++i;
  while (end > i && isBlank(sString[end - 1])) --end;
  bool negative = false;
  if (i < end && (sString[i] == '+' || sString[i] == '-')) negative = sString[i++] == '-';

  constexpr long long kLimit = 1LL << 32;
  long long whole = 0;
  size_t digits = 0;
  for (; i < end && sString[i] >= '0' && sString[i] <= '9'; ++i, ++digits) {
    whole = whole * 10 + (sString[i] - '0');
    if (whole > kLimit) return lDefault;
  }
  std::string fraction;
  if (i < end && sString[i] == '.') {
    for (++i; i < end && sString[i] >= '0' && sString[i] <= '9'; ++i) fraction += sString[i];
  }
  if (i != end || digits + fraction.size() == 0) return lDefault;

  if (!fraction.empty()) {
    const bool pastHalf = fraction.find_first_not_of('0', 1) != std::string::npos;
    if (fraction[0] > '5' || (fraction[0] == '5' && (pastHalf || whole % 2 != 0))) ++whole;
  }
  const long long result = negative ? -whole : whole;
  if (result < std::numeric_limits<std::int32_t>::min() ||
      result > std::numeric_limits<std::int32_t>::max()) {
    return lDefault;
  }
  return static_cast<std::int32_t>(result);
}

bool IniFile::BooleanValue() const {
  const std::string text = platform::UpperCase(value());
  return text == "YES" || text == "TRUE" || text == "1";
}

bool IniFile::CREATE(const std::string& path) {
  path_ = path;
  const std::filesystem::path file = resolved(path);
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) return true;
  std::ofstream out(file, std::ios::binary);
  return out.good();
}

}  // namespace util
