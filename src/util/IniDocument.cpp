#include "util/IniDocument.h"

#include "platform/Text.h"

namespace util {
namespace {

std::string trim(const std::string& text) {
  return platform::Trim(text, " \t");
}

std::optional<std::string> sectionName(const std::string& line) {
  const std::string trimmed = trim(line);
  if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
  const size_t close = trimmed.find(']');
  return trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

struct Entry {
  std::string key;
  std::string value;
};

std::optional<Entry> keyEntry(const std::string& line) {
  const std::string trimmed = trim(line);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '[') return std::nullopt;
  const size_t equals = trimmed.find('=');
  if (equals == std::string::npos) return std::nullopt;
  Entry entry{trim(trimmed.substr(0, equals)), trim(trimmed.substr(equals + 1))};
  if (entry.key.empty()) return std::nullopt;
  // A value written in matching quotes is read without them, as the platform reads it.
  const std::string& v = entry.value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    entry.value = v.substr(1, v.size() - 2);
  }
  return entry;
}

}  // namespace

IniDocument IniDocument::parse(const std::string& content) {
  IniDocument document;
  const size_t firstNewline = content.find('\n');
  if (firstNewline != std::string::npos) {
    document.newline_ = firstNewline > 0 && content[firstNewline - 1] == '\r' ? "\r\n" : "\n";
  }
  size_t start = 0;
  while (start < content.size()) {
    const size_t newline = content.find('\n', start);
    if (newline == std::string::npos) {
      document.lines_.push_back({content.substr(start), ""});
      break;
    }
    size_t textEnd = newline;
    if (textEnd > start && content[textEnd - 1] == '\r') --textEnd;
    document.lines_.push_back(
        {content.substr(start, textEnd - start), content.substr(textEnd, newline + 1 - textEnd)});
    start = newline + 1;
  }
  return document;
}

std::string IniDocument::text() const {
  std::string out;
  for (const Line& line : lines_) out += line.text + line.end;
  return out;
}

std::optional<IniDocument::Range> IniDocument::findSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = sectionName(lines_[i].text);
    if (!name || !platform::EqualsIgnoreCase(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && !sectionName(lines_[end].text)) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> IniDocument::findKey(const Range& range, const std::string& key) const {
  for (size_t i = range.header + 1; i < range.end; ++i) {
    const auto entry = keyEntry(lines_[i].text);
    if (entry && platform::EqualsIgnoreCase(entry->key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::value(const std::string& section,
                                              const std::string& key) const {
  const auto range = findSection(section);
  if (!range) return std::nullopt;
  const auto index = findKey(*range, key);
  if (!index) return std::nullopt;
  return keyEntry(lines_[*index].text)->value;
}

std::vector<std::string> IniDocument::keys(const std::string& section) const {
  std::vector<std::string> names;
  const auto range = findSection(section);
  if (!range) return names;
  for (size_t i = range->header + 1; i < range->end; ++i) {
    if (const auto entry = keyEntry(lines_[i].text)) names.push_back(entry->key);
  }
  return names;
}

std::vector<std::string> IniDocument::sections() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (const auto name = sectionName(line.text)) names.push_back(*name);
  }
  return names;
}

std::vector<IniDocument::SectionLines> IniDocument::outline() const {
  std::vector<SectionLines> sections(1);
  for (size_t i = 0; i < lines_.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    const std::string& text = lines_[i].text;
    if (const auto name = sectionName(text)) {
      sections.push_back({number, *name, trim(text), {}, {}});
    } else if (const auto entry = keyEntry(text)) {
      sections.back().keys.push_back({number, entry->key, entry->value});
    } else if (const std::string trimmed = trim(text); !trimmed.empty() && trimmed[0] != ';') {
      sections.back().otherLines.push_back(number);
    }
  }
  if (sections.front().keys.empty() && sections.front().otherLines.empty()) {
    sections.erase(sections.begin());
  }
  return sections;
}

void IniDocument::insertLine(size_t at, std::string text) {
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newline_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), newline_});
}

void IniDocument::set(const std::string& section, const std::string& key,
                      const std::string& value) {
  const std::string line = key + "=" + value;
  const auto range = findSection(section);
  if (!range) {
    insertLine(lines_.size(), "[" + section + "]");
    insertLine(lines_.size(), line);
    return;
  }
  if (const auto index = findKey(*range, key)) {
    lines_[*index].text = line;
    return;
  }
  size_t after = range->header;
  for (size_t i = range->header + 1; i < range->end; ++i) {
    if (keyEntry(lines_[i].text)) after = i;
  }
  insertLine(after + 1, line);
}

bool IniDocument::removeKey(const std::string& section, const std::string& key) {
  const auto range = findSection(section);
  if (!range) return false;
  const auto index = findKey(*range, key);
  if (!index) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
  return true;
}

bool IniDocument::removeSection(const std::string& section) {
  const auto range = findSection(section);
  if (!range) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
               lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
  return true;
}

}  // namespace util
