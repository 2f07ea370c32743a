#include "batch/JobFile.h"

#include "batch/IniRules.h"
#include "batch/JobSections.h"
#include "convert/CommitBatches.h"
#include "convert/KindTable.h"
#include "convert/TabChecks.h"
#include "grids/Operations.h"
#include "platform/Text.h"
#include "util/IniDocument.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace batch {
namespace {

using platform::UpperCase;

/// The operation of a job's row that replaces one authority's row by another's; the window's
/// grid has no column for the new authority, so only jobs and plans offer it.
constexpr const char* kReplace = "Replace";
using util::IniDocument;

std::vector<std::string> Split(const std::string& text) {
  return SplitList(text);
}

std::string Joined(const std::vector<std::string>& names) {
  return JoinList(names);
}

/// Reads one job file and collects every problem before giving up.
class JobReader {
 public:
  explicit JobReader(std::string path) { job_.file = std::move(path); }

  Job Read() {
    const std::optional<std::string> content = Content();
    if (!content) throw JobFileError(job_.file + ": the job file does not exist.");
    const std::vector<IniDocument::SectionLines> sections = IniDocument::Parse(*content).Outline();
    CheckShape(sections);
    bool sawRun = false;
    for (const IniDocument::SectionLines& section : sections) {
      if (section.line == 0) continue;
      const std::optional<JobSection> known = FindSection(section.name);
      if (!known) {
        Fail(section.line, "Unknown section [" + section.name + "].");
        continue;
      }
      switch (known->type) {
        case SectionType::Run:
          sawRun = true;
          ReadRun(section, *known);
          break;
        case SectionType::Kind:
          ReadKind(section, *known);
          break;
        case SectionType::TaxGroup:
          ReadTaxGroup(section, *known);
          break;
        case SectionType::Operations:
          ReadOperations(section, *known);
          break;
      }
    }
    if (!sawRun) Fail(1, "the job file has no [Run] section.");
    CheckTabs(sections);
    if (!problems_.empty()) throw JobFileError(JoinedLines(problems_));
    return std::move(job_);
  }

 private:
  std::optional<std::string> Content() const { return ReadIniText(job_.file); }

  void Fail(int line, const std::string& problem) {
    problems_.push_back(job_.Where(line) + problem);
  }

  static std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
  }

  void CheckShape(const std::vector<IniDocument::SectionLines>& sections) {
    for (const auto& [line, problem] : IniShapeProblems(sections)) Fail(line, problem);
  }

  void UnknownKey(const IniDocument::SectionLines& section, const IniDocument::KeyLine& key,
                  const JobSection& known) {
    Fail(key.line, "Unknown key " + key.key + " in section [" + section.name +
                       "]. Its keys are: " + Joined(known.keys) + ".");
  }

  bool Flag(const IniDocument::KeyLine& key) {
    const std::string text = UpperCase(key.value);
    if (text == "YES" || text == "TRUE" || text == "1") return true;
    if (text != "NO" && text != "FALSE" && text != "0") {
      Fail(key.line, key.key + " must be Yes or No, not \"" + key.value + "\".");
    }
    return false;
  }

  void ReadRun(const IniDocument::SectionLines& section, const JobSection& known) {
    for (const auto& key : section.keys) {
      const std::string name = UpperCase(key.key);
      if (name == "COMPANY") {
        job_.company = UpperCase(key.value);
      } else if (name == "USER") {
        job_.user = UpperCase(key.value);
      } else if (name == "RECORDSPERCOMMIT") {
        const std::optional<std::int32_t> records = ParseRecordsPerCommit(key.value);
        if (!records) Fail(key.line, RecordsPerCommitProblem(key.key, key.value));
        job_.recordsPerCommit = records.value_or(0);
      } else if (name == "WEBAPI") {
        job_.webApi = {key.value, key.line};
      } else if (name == "LOGFOLDER") {
        job_.logFolder = {key.value, key.line};
      } else if (name == "TAB") {
        const auto& tabs = convert::RunTabs();
        auto tab = std::find(tabs.begin(), tabs.end(), UpperCase(key.value));
        if (tab == tabs.end()) Fail(key.line, "Tab must be one of " + Joined(tabs) + ".");
        job_.tab = tab == tabs.end() ? 0 : static_cast<int>(tab - tabs.begin());
        job_.tabLine = key.line;
      } else {
        UnknownKey(section, key, known);
      }
    }
    if (job_.company.empty()) Fail(section.line, "Section [Run] must name the Company.");
    if (job_.user.empty()) Fail(section.line, "Section [Run] must name the User.");
  }

  void ReadKind(const IniDocument::SectionLines& section, const JobSection& known) {
    KindChoice& choice = job_.kinds[known.name];
    choice.line = section.line;
    const std::vector<std::string> ranges = RangeKeys(*known.kind);
    for (const auto& key : section.keys) {
      const std::string name = UpperCase(key.key);
      auto range = std::find_if(ranges.begin(), ranges.end(), [&name](const std::string& control) {
        return UpperCase(control) == name;
      });
      if (name == "CHECKED") {
        choice.checked = Flag(key);
      } else if (name == "CRITERIA") {
        choice.criteria = {key.value, key.line};
      } else if (range != ranges.end()) {
        choice.ranges[*range] = {key.value, key.line};
      } else {
        UnknownKey(section, key, known);
      }
    }
  }

  void ReadTaxGroup(const IniDocument::SectionLines& section, const JobSection& known) {
    TaxGroupChoice& choice = job_.taxGroups[known.name];
    choice.line = section.line;
    const bool classes =
        std::find(known.keys.begin(), known.keys.end(), "Classes") != known.keys.end();
    for (const auto& key : section.keys) {
      const std::string name = UpperCase(key.key);
      if (name == "TAXGROUP") {
        choice.taxGroup = {UpperCase(key.value), key.line};
      } else if (name == "CLASSES" && classes) {
        if (key.value.empty()) continue;
        choice.classes = Split(key.value);
        choice.classesLine = key.line;
        CheckClasses(key, choice.classes);
      } else {
        UnknownKey(section, key, known);
      }
    }
  }

  /// An empty item is refused rather than dropped or read as 0: either would give the classes to
  /// the wrong authorities or invent one.
  void CheckClasses(const IniDocument::KeyLine& key, const std::vector<std::string>& classes) {
    for (size_t item = 0; item < classes.size(); ++item) {
      const std::string& taxClass = classes[item];
      if (!std::all_of(taxClass.begin(), taxClass.end(), ::isdigit) || taxClass.empty()) {
        Fail(key.line,
             key.key + " must be numbers separated by commas" +
                 (taxClass.empty() ? "; item " + std::to_string(item + 1) + " is empty." : "."));
        return;
      }
    }
  }

  /// The row number of a "RowN" key, or nothing.
  static std::optional<int> RowNumber(const std::string& key) {
    const std::string name = UpperCase(key);
    const std::string digits = name.substr(std::min<size_t>(3, name.size()));
    if (!name.starts_with("ROW") || digits.empty() || digits.size() > 4 ||
        !std::all_of(digits.begin(), digits.end(), ::isdigit)) {
      return std::nullopt;
    }
    const int number = std::stoi(digits);
    return number > 0 ? std::optional<int>(number) : std::nullopt;
  }

  void ReadOperations(const IniDocument::SectionLines& section, const JobSection& known) {
    std::map<int, OperationRow> rows;
    for (const auto& key : section.keys) {
      const std::optional<int> number = RowNumber(key.key);
      if (!number) {
        UnknownKey(section, key, known);
        continue;
      }
      if (auto other = rows.find(*number); other != rows.end()) {
        Fail(key.line, key.key + " numbers the same row as " + other->second.key + " on line " +
                           std::to_string(other->second.line) + ".");
        continue;
      }
      std::vector<std::string> cells = Split(key.value);
      if (!cells.empty() && cells[0] == kReplace) {
        ReadReplaceRow(key, cells, job_.replacements[known.name]);
        continue;
      }
      if (cells.size() < 2 || !grids::OperationNamed(cells[0]) || cells[1].empty()) {
        Fail(key.line,
             key.key + " must start with " + grids::OperationNames() + " and an authority.");
        continue;
      }
      cells[1] = UpperCase(cells[1]);
      rows[*number] = {key.key, key.line, std::move(cells)};
    }
    auto& operations = job_.operations[known.name];
    for (auto& [number, row] : rows) operations.push_back(std::move(row));
  }

  /// "Replace, FROM, TO, CLASS, NEW CLASS[, Keep|Yes|No]": the row of authority FROM becomes a
  /// row of TO; the rows of one FROM and TO gather their classes into one replacement.
  void ReadReplaceRow(const IniDocument::KeyLine& key, const std::vector<std::string>& cells,
                      std::vector<convert::AuthorityReplacement>& replacements) {
    const bool classes = cells.size() >= 5 && IsClassNumber(cells[3]) && IsClassNumber(cells[4]);
    if (cells.size() < 5 || cells.size() > 6 || cells[1].empty() || cells[2].empty() || !classes) {
      Fail(key.line, key.key +
                         " must be Replace, the authority, the new authority, a class, its new "
                         "class and optionally Keep, Yes or No.");
      return;
    }
    const std::string from = UpperCase(cells[1]);
    const std::string to = UpperCase(cells[2]);
    const std::string rule = cells.size() == 6 ? UpperCase(cells[5]) : "KEEP";
    if (rule != "KEEP" && rule != "YES" && rule != "NO") {
      Fail(key.line, key.key + ": tax included must be Keep, Yes or No, not \"" + cells[5] + "\".");
      return;
    }
    const convert::TaxIncludedRule included = rule == "YES"  ? convert::TaxIncludedRule::Yes
                                              : rule == "NO" ? convert::TaxIncludedRule::No
                                                             : convert::TaxIncludedRule::Keep;
    for (convert::AuthorityReplacement& earlier : replacements) {
      if (earlier.from.text != from) continue;
      if (earlier.to.text != to || earlier.taxIncluded != included) {
        Fail(key.line, key.key + " replaces " + from + " otherwise than line " +
                           std::to_string(earlier.line) + ".");
      } else {
        for (const auto& [fromClass, toClass] : earlier.classes) {
          if (std::stoi(fromClass) == std::stoi(cells[3])) {
            Fail(key.line, key.key + " maps class " + cells[3] + " of " + from + " twice.");
            return;
          }
        }
        earlier.classes.emplace_back(cells[3], cells[4]);
      }
      return;
    }
    if (from == to) {
      Fail(key.line, key.key + " replaces " + from + " by itself.");
      return;
    }
    replacements.push_back(
        {{from, key.line}, {to, key.line}, {{cells[3], cells[4]}}, included, key.line});
  }

  static bool IsClassNumber(const std::string& text) {
    return !text.empty() && text.size() <= 4 && std::all_of(text.begin(), text.end(), ::isdigit);
  }

  /// Sections of another tab would be filled in and then silently never run.
  void CheckTabs(const std::vector<IniDocument::SectionLines>& sections) {
    const std::string& tab = convert::RunTabs()[static_cast<size_t>(job_.tab)];
    for (const IniDocument::SectionLines& section : sections) {
      const std::optional<JobSection> known = FindSection(section.name);
      if (!known || known->type == SectionType::Run) continue;
      if (known->tab != tab) {
        Fail(section.line, "Section [" + known->name + "] belongs to tab " + known->tab +
                               ", but the job runs tab " + tab + ".");
      }
    }
  }

  Job job_;
  std::vector<std::string> problems_;
};

}  // namespace

std::optional<std::int32_t> ParseRecordsPerCommit(const std::string& text) {
  const std::string trimmed = platform::Trim(text, " \t");
  std::int32_t records = 0;
  const char* end = trimmed.data() + trimmed.size();
  const auto [stop, error] = std::from_chars(trimmed.data(), end, records);
  if (trimmed.empty() || error != std::errc() || stop != end || records < 1 ||
      records > convert::CommitBatches::kMaxRecordsPerCommit) {
    return std::nullopt;
  }
  return records;
}

std::string RecordsPerCommitProblem(const std::string& name, const std::string& text) {
  return name + " must be a whole number of records from 1 to " +
         std::to_string(convert::CommitBatches::kMaxRecordsPerCommit) + ", not \"" + text + "\".";
}

Job ReadJobFile(const std::string& path) {
  return JobReader(path).Read();
}

}  // namespace batch
