#include "util/IniDocument.h"

#include "platform/Text.h"

namespace util {
namespace {

std::string Trim(const std::string& text) {
  return platform::Trim(text, " \t");
}

std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
  const size_t close = trimmed.find(']');
  return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

struct Entry {
  std::string key;
  std::string value;
};

std::optional<Entry> KeyEntry(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '[') return std::nullopt;
  const size_t equals = trimmed.find('=');
  if (equals == std::string::npos) return std::nullopt;
  Entry entry{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
  if (entry.key.empty()) return std::nullopt;
  // A value written in matching quotes is read without them, as the platform reads it.
  const std::string& v = entry.value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    entry.value = v.substr(1, v.size() - 2);
  }
  return entry;
}

}  // namespace

IniDocument IniDocument::Parse(const std::string& content) {
  IniDocument document;
  size_t start = 0;
  while (start < content.size()) {
    const size_t newline = content.find('\n', start);
    if (newline == std::string::npos) {
      document.lines_.push_back(content.substr(start));
      break;
    }
    size_t textEnd = newline;
    if (textEnd > start && content[textEnd - 1] == '\r') --textEnd;
    document.lines_.push_back(content.substr(start, textEnd - start));
    start = newline + 1;
  }
  return document;
}

std::optional<IniDocument::Range> IniDocument::FindSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (!name || !platform::EqualsIgnoreCase(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end])) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> IniDocument::FindKey(const Range& range, const std::string& key) const {
  for (size_t i = range.header + 1; i < range.end; ++i) {
    const auto entry = KeyEntry(lines_[i]);
    if (entry && platform::EqualsIgnoreCase(entry->key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::value(const std::string& section,
                                              const std::string& key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto index = FindKey(*range, key);
  if (!index) return std::nullopt;
  return KeyEntry(lines_[*index])->value;
}

std::vector<IniDocument::SectionLines> IniDocument::Outline() const {
  std::vector<SectionLines> sections(1);
  for (size_t i = 0; i < lines_.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    const std::string& text = lines_[i];
    if (const auto name = SectionName(text)) {
      sections.push_back({number, *name, Trim(text), {}, {}});
    } else if (const auto entry = KeyEntry(text)) {
      sections.back().keys.push_back({number, entry->key, entry->value});
    } else if (const std::string trimmed = Trim(text); !trimmed.empty() && trimmed[0] != ';') {
      sections.back().otherLines.push_back(number);
    }
  }
  if (sections.front().keys.empty() && sections.front().otherLines.empty()) {
    sections.erase(sections.begin());
  }
  return sections;
}

}  // namespace util
