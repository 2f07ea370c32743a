#include "batch/IniRules.h"

#include "platform/Text.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace batch {
namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::optional<std::string> ReadIniText(const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Editors on the ERP's platform often save a byte-order mark; it is not part of the text.
  if (content.starts_with(kByteOrderMark)) content.erase(0, 3);
  return content;
}

std::vector<std::pair<int, std::string>> IniShapeProblems(
    const std::vector<util::IniDocument::SectionLines>& sections) {
  std::vector<std::pair<int, std::string>> problems;
  std::map<std::string, int> seen;
  for (const util::IniDocument::SectionLines& section : sections) {
    for (int line : section.otherLines) {
      problems.emplace_back(line,
                            "This line is not a key=value line, a comment or a section header.");
    }
    if (section.line == 0) {
      for (const auto& key : section.keys) {
        problems.emplace_back(key.line, key.key + " stands before any section.");
      }
      continue;
    }
    if (section.header != "[" + section.name + "]") {
      problems.emplace_back(section.line,
                            "The section header " + section.header + " is malformed.");
    }
    if (auto [first, added] = seen.emplace(platform::UpperCase(section.name), section.line);
        !added) {
      problems.emplace_back(section.line, "Section [" + section.name +
                                              "] is repeated; it first appears on line " +
                                              std::to_string(first->second) + ".");
    }
    std::map<std::string, int> keys;
    for (const auto& key : section.keys) {
      if (auto [first, added] = keys.emplace(platform::UpperCase(key.key), key.line); !added) {
        problems.emplace_back(key.line, "Key " + key.key + " is repeated in section [" +
                                            section.name + "]; it first appears on line " +
                                            std::to_string(first->second) + ".");
      }
    }
  }
  return problems;
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t at = text.find(separator, start);
    parts.push_back(platform::Trim(text.substr(start, at - start), " \t"));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

}  // namespace batch
