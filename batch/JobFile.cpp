#include "batch/JobFile.h"

#include "convert/Targets.h"
#include "util/IniFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

namespace batch {
namespace {

const std::vector<std::string> kTabs = {"AP", "AR", "IC", "OE", "PO", "BK"};

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(',', start);
    parts.push_back(trimmed(text.substr(start, comma - start)));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

/// Where each section and key stands in the file, so that a message can name its line.
class LineIndex {
 public:
  explicit LineIndex(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::string section;
    for (int number = 1; std::getline(in, line); ++number) {
      std::string text = trimmed(line);
      if (text.starts_with("[") && text.find(']') != std::string::npos) {
        section = upper(text.substr(1, text.find(']') - 1));
        lines_.emplace(section, number);
      } else if (size_t equals = text.find('=');
                 equals != std::string::npos && !text.starts_with(";")) {
        lines_.emplace(section + "\n" + upper(trimmed(text.substr(0, equals))), number);
      }
    }
  }
  int Of(const std::string& section, const std::string& key = {}) const {
    auto found = lines_.find(upper(section) + (key.empty() ? "" : "\n" + upper(key)));
    return found == lines_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, int> lines_;
};

class Reader {
 public:
  explicit Reader(const std::string& path) : path_(path), lines_(path) { ini_.Path(path); }

  [[noreturn]] void Fail(const std::string& section, const std::string& key,
                         const std::string& problem) const {
    throw JobFileError(path_ + ":" + std::to_string(lines_.Of(section, key)) + ": " + problem);
  }

  std::vector<std::string> Sections() const {
    std::vector<std::string> sections;
    int count = 0;
    ini_.EnumerateAllSections(sections, count);
    return {sections.begin() + 1, sections.end()};
  }

  std::vector<std::string> Keys(const std::string& section) {
    ini_.Section(section);
    std::vector<std::string> keys;
    int count = 0;
    ini_.EnumerateCurrentSection(keys, count);
    return {keys.begin() + 1, keys.end()};
  }

  std::string Value(const std::string& section, const std::string& key) {
    ini_.Section(section);
    ini_.key(key);
    return ini_.value();
  }

  bool Flag(const std::string& section, const std::string& key) {
    std::string text = upper(trimmed(Value(section, key)));
    if (text == "YES" || text == "TRUE" || text == "1") return true;
    if (text == "NO" || text == "FALSE" || text == "0") return false;
    Fail(section, key, key + " must be Yes or No, not \"" + text + "\".");
  }

 private:
  std::string path_;
  LineIndex lines_;
  util::IniFile ini_;
};

const convert::KindTarget* KindOfCheckBox(const std::string& name) {
  for (const convert::KindTarget& kind : convert::KindTargets()) {
    if (upper(kind.checkBox) == upper(name)) return &kind;
  }
  return nullptr;
}

bool IsTaxGroupGrid(const std::string& name) {
  for (const convert::KindTarget& kind : convert::KindTargets()) {
    if (upper(kind.fromGrid) == upper(name) || upper(kind.toGrid) == upper(name)) return true;
  }
  return false;
}

bool IsAuthorityGrid(const std::string& name) {
  for (const convert::KindTarget& kind : convert::KindTargets()) {
    if (!kind.authorityGrid.empty() && upper(kind.authorityGrid) == upper(name)) return true;
  }
  return false;
}

std::string CanonicalName(const std::string& name) {
  for (const convert::KindTarget& kind : convert::KindTargets()) {
    for (const std::string* known :
         {&kind.checkBox, &kind.fromGrid, &kind.toGrid, &kind.authorityGrid}) {
      if (!known->empty() && upper(*known) == upper(name)) return *known;
    }
  }
  return name;
}

void ReadRun(Reader& reader, Job& job) {
  for (const std::string& key : reader.Keys("Run")) {
    std::string value = trimmed(reader.Value("Run", key));
    if (upper(key) == "COMPANY") {
      job.company = upper(value);
    } else if (upper(key) == "USER") {
      job.user = upper(value);
    } else if (upper(key) == "TAB") {
      auto tab = std::find(kTabs.begin(), kTabs.end(), upper(value));
      if (tab == kTabs.end()) reader.Fail("Run", key, "Tab must be one of AP, AR, IC, OE, PO, BK.");
      job.tab = static_cast<int>(tab - kTabs.begin());
    } else {
      reader.Fail("Run", key, "Unknown key " + key + " in section [Run].");
    }
  }
  if (job.company.empty()) reader.Fail("Run", "", "Section [Run] must name the Company.");
  if (job.user.empty()) reader.Fail("Run", "", "Section [Run] must name the User.");
}

void ReadKind(Reader& reader, const std::string& section, const convert::KindTarget& kind,
              Job& job) {
  KindChoice& choice = job.kinds[kind.checkBox];
  for (const std::string& key : reader.Keys(section)) {
    if (upper(key) == "CHECKED") {
      choice.checked = reader.Flag(section, key);
    } else if (upper(key) == "CRITERIA") {
      choice.criteria = reader.Value(section, key);
    } else {
      auto range = std::find_if(kind.conditions.begin(), kind.conditions.end(),
                                [&key](const convert::FilterCondition& condition) {
                                  return upper(condition.control) == upper(key) &&
                                         condition.opening.find("TAX") == std::string::npos;
                                });
      if (range == kind.conditions.end()) {
        reader.Fail(section, key, "Unknown key " + key + " in section [" + section + "].");
      }
      choice.ranges[range->control] = reader.Value(section, key);
    }
  }
}

void ReadTaxGroup(Reader& reader, const std::string& section, Job& job) {
  TaxGroupChoice& choice = job.taxGroups[CanonicalName(section)];
  for (const std::string& key : reader.Keys(section)) {
    std::string value = trimmed(reader.Value(section, key));
    if (upper(key) == "TAXGROUP") {
      choice.taxGroup = upper(value);
    } else if (upper(key) == "CLASSES") {
      choice.classes = split(value);
      for (const std::string& taxClass : choice.classes) {
        if (taxClass.empty() || !std::all_of(taxClass.begin(), taxClass.end(), ::isdigit)) {
          reader.Fail(section, key, "Classes must be numbers separated by commas.");
        }
      }
    } else {
      reader.Fail(section, key, "Unknown key " + key + " in section [" + section + "].");
    }
  }
}

void ReadOperations(Reader& reader, const std::string& section, Job& job) {
  std::map<int, std::vector<std::string>> rows;
  for (const std::string& key : reader.Keys(section)) {
    const std::string name = upper(key);
    int number = name.starts_with("ROW") ? util::IniFile::CLngDefault(name.substr(3), 0) : 0;
    if (number <= 0) {
      reader.Fail(section, key, "Unknown key " + key + " in section [" + section + "].");
    }
    std::vector<std::string> cells = split(reader.Value(section, key));
    static const std::set<std::string> kOperations = {"Insert", "Update", "Delete"};
    if (cells.size() < 2 || !kOperations.count(cells[0]) || cells[1].empty()) {
      reader.Fail(section, key,
                  key + " must start with Insert, Update or Delete and an authority.");
    }
    cells[1] = upper(cells[1]);
    rows[number] = cells;
  }
  auto& operations = job.operations[CanonicalName(section)];
  for (auto& [number, cells] : rows) operations.push_back(cells);
}

}  // namespace

Job ReadJobFile(const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) {
    throw JobFileError(path + ": the job file does not exist.");
  }
  Reader reader(path);
  Job job;
  job.file = path;
  bool sawRun = false;
  for (const std::string& section : reader.Sections()) {
    if (upper(section) == "RUN") {
      sawRun = true;
      ReadRun(reader, job);
    } else if (const convert::KindTarget* kind = KindOfCheckBox(section)) {
      ReadKind(reader, section, *kind, job);
    } else if (IsTaxGroupGrid(section)) {
      ReadTaxGroup(reader, section, job);
    } else if (IsAuthorityGrid(section)) {
      ReadOperations(reader, section, job);
    } else {
      reader.Fail(section, "", "Unknown section [" + section + "].");
    }
  }
  if (!sawRun) throw JobFileError(path + ":1: the job file has no [Run] section.");
  return job;
}

}  // namespace batch
