#include "gui/plan/PlanOutput.h"

#include <sstream>

namespace gui {
namespace {

constexpr std::size_t kCounts = 5;

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool IsNumber(const std::string& word) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

/// A row's five counts from its last words; nothing when they are not numbers.
std::optional<std::array<std::int64_t, 5>> CountsOf(const std::vector<std::string>& words) {
  if (words.size() < kCounts + 1) return std::nullopt;
  std::array<std::int64_t, 5> counts{};
  for (std::size_t i = 0; i < kCounts; ++i) {
    const std::string& word = words[words.size() - kCounts + i];
    if (!IsNumber(word)) return std::nullopt;
    counts[i] = std::stoll(word);
  }
  return counts;
}

}  // namespace

std::vector<PlanTableRow> PlanTableOf(const std::string& output) {
  std::vector<PlanTableRow> rows;
  std::istringstream lines(output);
  std::string line;
  bool inTable = false;
  while (std::getline(lines, line)) {
    if (!inTable) {
      inTable = line.starts_with("Company ") && line.find("Not affected") != std::string::npos;
      if (inTable) rows.clear();  // only the last table counts
      continue;
    }
    const std::vector<std::string> words = Words(line);
    const auto counts = CountsOf(words);
    if (!counts) {
      inTable = false;
      continue;
    }
    const bool total = words.front() == "Total";
    std::string kind;
    for (std::size_t i = total ? 0 : 1; i + kCounts < words.size(); ++i) {
      kind += (kind.empty() ? "" : " ") + words[i];
    }
    rows.push_back({total ? "" : words.front(), kind, *counts});
    if (total) inTable = false;
  }
  return rows;
}

std::optional<std::string> PlanRunFileOf(const std::string& output) {
  const std::string label = "Plan-run file: ";
  const std::size_t at = output.rfind("\n" + label);
  if (at == std::string::npos) return std::nullopt;
  const std::size_t start = at + 1 + label.size();
  return output.substr(start, output.find('\n', start) - start);
}

std::string PlanStatusText(int status, bool preview) {
  switch (status) {
    case 0:
      return preview ? "Every selected record would be converted. Nothing was saved."
                     : "Complete: every selected record was converted.";
    case 1:
      return preview ? "Refused: nothing was previewed." : "Refused: nothing was converted.";
    case 2:
      return preview ? "Records would be skipped or fail; the table says which kinds. Nothing "
                       "was saved."
                     : "Complete, with records skipped or failed; the table says which kinds.";
    default:
      return "Cancelled, or a sign-on failed.";
  }
}

}  // namespace gui
