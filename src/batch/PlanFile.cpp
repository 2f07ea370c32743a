#include "batch/PlanFile.h"

#include "batch/IniRules.h"
#include "convert/KindTable.h"
#include "platform/Text.h"
#include "util/IniDocument.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace batch {
namespace {

using convert::AuthorityReplacement;
using convert::ClassMap;
using convert::PlanGroup;
using convert::TaxIncludedRule;
using platform::UpperCase;
using util::IniDocument;

bool IsClass(const std::string& text) {
  return !text.empty() && text.size() <= 4 && std::all_of(text.begin(), text.end(), ::isdigit);
}

/// Reads one plan file and collects every problem before giving up.
class PlanReader {
 public:
  explicit PlanReader(std::string path) { plan_.file = std::move(path); }

  convert::Plan Read() {
    const std::optional<std::string> content = ReadIniText(plan_.file);
    if (!content) throw JobFileError(plan_.file + ": the plan file does not exist.");
    const std::vector<IniDocument::SectionLines> sections = IniDocument::Parse(*content).Outline();
    for (const auto& [line, problem] : IniShapeProblems(sections)) Fail(line, problem);
    bool sawPlan = false;
    for (const IniDocument::SectionLines& section : sections) {
      if (section.line == 0) continue;
      const std::string word = UpperCase(section.name.substr(0, section.name.find(' ')));
      const std::string name =
          section.name.find(' ') == std::string::npos
              ? ""
              : UpperCase(platform::Trim(section.name.substr(section.name.find(' ')), " \t"));
      if (word == "PLAN" && name.empty()) {
        sawPlan = true;
        ReadPlan(section);
      } else if (word == "GROUP" && !name.empty()) {
        ReadGroup(section, name);
      } else if (word == "AUTHORITY" && !name.empty()) {
        ReadAuthority(section, name);
      } else {
        Fail(section.line, "Unknown section [" + section.name +
                               "]. A plan has [Plan], [Group NAME] and [Authority NAME].");
      }
    }
    if (!sawPlan) Fail(1, "the plan file has no [Plan] section.");
    if (sawPlan && plan_.groups.empty() && plan_.authorities.empty()) {
      Fail(1, "the plan has no [Group ...] or [Authority ...] section: it would change nothing.");
    }
    CheckNothingMappedTwice();
    if (!problems_.empty()) {
      std::string text;
      for (const std::string& line : problems_) text += (text.empty() ? "" : "\n") + line;
      throw JobFileError(text);
    }
    return std::move(plan_);
  }

 private:
  void Fail(int line, const std::string& problem) {
    problems_.push_back(plan_.Where(line) + problem);
  }

  void UnknownKey(const IniDocument::SectionLines& section, const IniDocument::KeyLine& key,
                  const char* keys) {
    Fail(key.line, "Unknown key " + key.key + " in section [" + section.name +
                       "]. Its keys are: " + keys + ".");
  }

  void ReadPlan(const IniDocument::SectionLines& section) {
    for (const auto& key : section.keys) {
      const std::string name = UpperCase(key.key);
      if (name == "TITLE") {
        plan_.title = key.value;
      } else if (name == "USER") {
        plan_.user = UpperCase(key.value);
      } else if (name == "COMPANIES") {
        ReadCompanies(key);
      } else if (name == "MODULES") {
        ReadModules(key);
      } else {
        UnknownKey(section, key, "Title, User, Companies, Modules");
      }
    }
    if (plan_.user.empty()) Fail(section.line, "Section [Plan] must name the User.");
    if (plan_.companies.empty() && !plan_.everyCompany) {
      Fail(section.line, "Section [Plan] must name the Companies (or * for every company).");
    }
  }

  void ReadCompanies(const IniDocument::KeyLine& key) {
    plan_.companiesLine = key.line;
    if (key.value == "*") {
      plan_.everyCompany = true;
      return;
    }
    for (const std::string& company : SplitList(key.value)) {
      if (company.empty() || company.find_first_of(" \t*") != std::string::npos) {
        Fail(key.line, "Companies must be company IDs separated by commas, or *.");
        return;
      }
      const std::string id = UpperCase(company);
      if (std::find(plan_.companies.begin(), plan_.companies.end(), id) != plan_.companies.end()) {
        Fail(key.line, "Company " + id + " is named twice.");
      }
      plan_.companies.push_back(id);
    }
  }

  void ReadModules(const IniDocument::KeyLine& key) {
    plan_.modulesLine = key.line;
    std::vector<std::string> chosen;
    for (const std::string& module : SplitList(key.value)) {
      const std::string code = UpperCase(module);
      if (convert::TabIndexOf(code) < 0) {
        Fail(key.line,
             "Modules must be among " + JoinList(convert::RunTabs()) + ", not \"" + module + "\".");
      } else {
        chosen.push_back(code);
      }
    }
    // Kept in tab order, so that a plan runs the modules as the window's tabs stand.
    for (const std::string& tab : convert::RunTabs()) {
      if (std::find(chosen.begin(), chosen.end(), tab) != chosen.end())
        plan_.modules.push_back(tab);
    }
  }

  /// The classes of one side of a map: numbers separated by commas.
  std::optional<std::vector<std::string>> Side(const IniDocument::KeyLine& key,
                                               const std::string& text) {
    std::vector<std::string> classes = SplitList(text);
    for (const std::string& taxClass : classes) {
      if (!IsClass(taxClass)) {
        Fail(key.line, key.key + " must be class maps such as 1,1 -> 1 separated by ';', and \"" +
                           text + "\" is not a list of classes.");
        return std::nullopt;
      }
    }
    return classes;
  }

  /// The maps of a Classes value: "left -> right" separated by ';'.
  std::vector<ClassMap> Maps(const IniDocument::KeyLine& key) {
    std::vector<ClassMap> maps;
    for (const std::string& item : SplitList(key.value, ';')) {
      const size_t arrow = item.find("->");
      if (arrow == std::string::npos || item.find("->", arrow + 2) != std::string::npos) {
        Fail(key.line, key.key + " must be class maps such as 1,1 -> 1 separated by ';', not \"" +
                           item + "\".");
        continue;
      }
      const auto from = Side(key, platform::Trim(item.substr(0, arrow), " \t"));
      const auto to = Side(key, platform::Trim(item.substr(arrow + 2), " \t"));
      if (!from || !to) continue;
      for (const ClassMap& earlier : maps) {
        if (earlier.from == *from) {
          Fail(key.line, "Classes map " + JoinList(*from) + " twice.");
        }
      }
      maps.push_back({*from, *to, key.line});
    }
    return maps;
  }

  void ReadGroup(const IniDocument::SectionLines& section, const std::string& from) {
    PlanGroup group{{from, section.line}, {}, {}, {1, 2}, section.line};
    bool sawClasses = false;
    for (const auto& key : section.keys) {
      const std::string name = UpperCase(key.key);
      if (name == "TO") {
        group.to = {UpperCase(key.value), key.line};
      } else if (name == "CLASSES") {
        sawClasses = true;
        group.classes = Maps(key);
      } else if (name == "TYPE") {
        group.types = Types(key);
      } else {
        UnknownKey(section, key, "To, Classes, Type");
      }
    }
    if (group.to.text.empty()) Fail(section.line, "Section [" + section.name + "] must name To.");
    if (!sawClasses) Fail(section.line, "Section [" + section.name + "] must give Classes.");
    if (group.to.text == from) {
      Fail(group.to.line, "Tax group " + from + " is mapped to itself.");
    }
    plan_.groups.push_back(std::move(group));
  }

  std::vector<std::int16_t> Types(const IniDocument::KeyLine& key) {
    std::vector<std::int16_t> types;
    for (const std::string& item : SplitList(key.value)) {
      const std::string type = UpperCase(item);
      const std::int16_t number = type == "SALES" ? 1 : type == "PURCHASES" ? 2 : 0;
      if (number == 0) {
        Fail(key.line, "Type must be Sales, Purchases or both, not \"" + item + "\".");
      } else if (std::find(types.begin(), types.end(), number) == types.end()) {
        types.push_back(number);
      }
    }
    return types;
  }

  void ReadAuthority(const IniDocument::SectionLines& section, const std::string& from) {
    AuthorityReplacement replacement;
    replacement.from = {from, section.line};
    replacement.line = section.line;
    bool sawClasses = false;
    for (const auto& key : section.keys) {
      const std::string name = UpperCase(key.key);
      if (name == "TO") {
        replacement.to = {UpperCase(key.value), key.line};
      } else if (name == "CLASSES") {
        sawClasses = true;
        for (const ClassMap& map : Maps(key)) {
          if (map.from.size() != 1 || map.to.size() != 1) {
            Fail(key.line, "Classes of an authority map one class to one class, such as 1 -> 1.");
            continue;
          }
          replacement.classes.emplace_back(map.from.front(), map.to.front());
        }
      } else if (name == "TAXINCLUDED") {
        replacement.taxIncluded = IncludedRule(key);
      } else {
        UnknownKey(section, key, "To, Classes, TaxIncluded");
      }
    }
    if (replacement.to.text.empty()) {
      Fail(section.line, "Section [" + section.name + "] must name To.");
    }
    if (!sawClasses) Fail(section.line, "Section [" + section.name + "] must give Classes.");
    if (replacement.to.text == from) {
      Fail(replacement.to.line, "Tax authority " + from + " is mapped to itself.");
    }
    plan_.authorities.push_back(std::move(replacement));
  }

  TaxIncludedRule IncludedRule(const IniDocument::KeyLine& key) {
    const std::string value = UpperCase(key.value);
    if (value == "YES") return TaxIncludedRule::Yes;
    if (value == "NO") return TaxIncludedRule::No;
    if (value != "KEEP") {
      Fail(key.line, "TaxIncluded must be Keep, Yes or No, not \"" + key.value + "\".");
    }
    return TaxIncludedRule::Keep;
  }

  /// A group or authority mapped by two sections, or moved on by a second one, would make the
  /// result hang on the order the sections run in.
  void CheckNothingMappedTwice() {
    CheckMappedOnce(plan_.groups, "Tax group", ShareType);
    CheckMappedOnce(plan_.authorities, "Tax authority",
                    [](const AuthorityReplacement&, const AuthorityReplacement&) { return true; });
  }

  /// Refuses a section whose from is mapped by an earlier one, or is the to of another, among
  /// the `sections` that `overlap`.
  template <typename Section, typename Overlap>
  void CheckMappedOnce(const std::vector<Section>& sections, const std::string& what,
                       Overlap overlap) {
    for (size_t i = 0; i < sections.size(); ++i) {
      for (size_t j = 0; j < sections.size(); ++j) {
        const Section& a = sections[i];
        const Section& b = sections[j];
        if (i == j || !overlap(a, b)) continue;
        if (i < j && a.from.text == b.from.text) {
          Fail(b.line, what + " " + b.from.text + " is mapped twice; it is first mapped on line " +
                           std::to_string(a.line) + ".");
        }
        if (a.to.text == b.from.text && !a.to.text.empty()) {
          Fail(b.line, what + " " + b.from.text + " is mapped on, but line " +
                           std::to_string(a.to.line) + " maps " + Lower(what) + " " + a.from.text +
                           " to it.");
        }
      }
    }
  }

  static std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }

  static bool ShareType(const PlanGroup& a, const PlanGroup& b) {
    for (std::int16_t type : a.types) {
      if (std::find(b.types.begin(), b.types.end(), type) != b.types.end()) return true;
    }
    return false;
  }

  convert::Plan plan_;
  std::vector<std::string> problems_;
};

}  // namespace

convert::Plan ReadPlanFile(const std::string& path) {
  return PlanReader(path).Read();
}

void WriteSkeletonPlan(std::ostream& out) {
  out << "; A tax-change plan for ordavel-batch --plan: one tax change, described once.\n"
         "; Names and keys are not case-sensitive; a value is the whole rest of its line.\n"
         "\n"
         "[Plan]\n"
         "; What the change is, shown in the output and the plan-run file.\n"
         "Title=Ontario harmonisation, 1 July 2010\n"
         "; The user who signs on to every company.\n"
         "User=ADMIN\n"
         "; Company IDs separated by commas, or * for every company the user may sign on to.\n"
         "Companies=SAMLTD, SAMWST\n"
         "; Optional: the modules to convert, among AP, AR, IC, OE, PO, BK (default: all).\n"
         "; A module a company does not run is skipped and listed.\n"
         ";Modules=AR, AP, IC, OE, PO, BK\n"
         "\n"
         "; One section per tax group that moves: [Group FROM].\n"
         "[Group ONGSTPST]\n"
         "; The tax group its records move to.\n"
         "To=ONHST\n"
         "; Class maps separated by ';': the classes of a record, one per authority of the\n"
         "; from group, then '->' and its new classes, one per authority of the to group.\n"
         "; A record of the group whose classes match no map is skipped and reported.\n"
         "Classes=1,1 -> 1; 2,2 -> 2\n"
         "; Optional: Sales, Purchases or both (default: both).\n"
         ";Type=Sales, Purchases\n"
         "\n"
         "; One section per authority whose rows are replaced: [Authority FROM].\n"
         "[Authority ONPST]\n"
         "; The authority whose row replaces it.\n"
         "To=HST\n"
         "; Class maps separated by ';': a class of the old row, '->', the class of the new one.\n"
         "; A record whose row has a class not mapped here is skipped and reported.\n"
         "Classes=1 -> 1; 2 -> 2\n"
         "; Optional: Keep (default) the row's tax included, or set it to Yes or No.\n"
         ";TaxIncluded=Keep\n";
}

}  // namespace batch
