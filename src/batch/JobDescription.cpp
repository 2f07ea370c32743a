#include "batch/JobDescription.h"

#include "batch/IniRules.h"
#include "convert/AuthorityColumns.h"
#include "convert/CommitBatches.h"
#include "convert/TabChecks.h"
#include "grids/Operations.h"
#include "host/controls/GridControl.h"
#include "platform/Text.h"

#include <algorithm>
#include <stdexcept>

namespace batch {
namespace {

std::string DefaultRecordsPerCommit() {
  return std::to_string(convert::CommitBatches::kDefaultRecordsPerCommit);
}

const convert::TabDef& TabOf(const std::string& code) {
  for (const convert::TabDef& tab : convert::Tabs()) {
    if (tab.code == code) return tab;
  }
  throw std::invalid_argument("There is no tab " + code + "; the tabs are " +
                              JoinList(convert::RunTabs()) + ".");
}

std::string CheckBoxCaption(const std::string& name) {
  const convert::KindDef* kind = convert::KindOfCheckBox(name);
  return kind ? kind->checkBoxCaption : name;
}

/// "From Customer" or "To Customer": the label the window shows beside a range control.
std::string RangeLabel(const std::string& control) {
  for (const convert::RangePairDef& pair : convert::RangePairs()) {
    if (pair.from == control) return "From " + pair.fromLabel;
    if (pair.to == control) return "To " + pair.toLabel;
  }
  return control;
}

SectionHelp DescribeRun(const JobSection& section) {
  return {section,
          "Who signs on where, and which tab runs",
          {{"Company", "the company's ID (--company runs the job on another one)", false},
           {"User", "the user who signs on", false},
           {"Tab", "one of " + JoinList(convert::RunTabs()), false},
           {"RecordsPerCommit",
            "records committed together, from 1 to " +
                std::to_string(convert::CommitBatches::kMaxRecordsPerCommit) + "; " +
                DefaultRecordsPerCommit() +
                " unless given; 1 commits each record alone (--records-per-commit overrides it)"},
           {"WebApi",
            "the base address of the ERP's Web API, up to and including /-/, to convert through "
            "it instead of the local ERP (--web-api overrides it)"},
           {"LogFolder",
            "with WebApi: the folder below which each company's logs go, one folder per company "
            "(--log-folder overrides it)"}}};
}

SectionHelp DescribeKind(const JobSection& section) {
  const convert::KindDef& kind = *section.kind;
  SectionHelp help{section, CheckBoxCaption(kind.checkBox) + ", view " + kind.headerView, {}};
  help.keys.push_back({"Checked", "Yes or No", false});
  for (const std::string& range : RangeKeys(kind)) help.keys.push_back({range, RangeLabel(range)});
  help.keys.push_back({"Criteria", "a filter of view " + kind.headerView +
                                       " that narrows the selection (erp query --fields " +
                                       kind.headerView + " lists its fields)"});
  return help;
}

SectionHelp DescribeMapping(const JobSection& section) {
  std::string caption = section.name;
  std::string transactions;
  for (const convert::MappingDef& mapping : convert::Mappings()) {
    for (const convert::TaxGroupSideDef* side : {&mapping.from, &mapping.to}) {
      if (mapping.type != convert::ConversionType::TaxGroup || side->name != section.name) continue;
      caption = side->caption;
      transactions = mapping.transactionType == 1 ? "sales" : "purchases";
    }
  }
  const bool from = section.kind->fromGrid == section.name;
  SectionHelp help{section,
                   caption,
                   {{"TaxGroup", from ? "the " + transactions + " tax group the records carry now"
                                      : "the " + transactions + " tax group they move to"}}};
  if (section.keys.size() > 1) {
    help.keys.push_back(
        {"Classes", "one Tax Class per authority of the tax group, separated by commas"});
  }
  return help;
}

SectionHelp DescribeOperations(const JobSection& section) {
  std::string caption = section.name;
  for (const convert::MappingDef& mapping : convert::Mappings()) {
    if (mapping.type == convert::ConversionType::TaxAuthority && mapping.grid == section.name) {
      caption = mapping.caption;
    }
  }
  // The rows share one meaning: the operation, the authority, then
  // the grid's class and tax-included cells.
  return {
      section, caption, {{JoinList(section.keys), JoinList(convert::RowColumns(section.name))}}};
}

void PrintSection(std::ostream& out, const SectionHelp& help, const std::string& indent) {
  out << indent << "[" << help.section.name << "]  " << help.caption << '\n';
  size_t width = 0;
  for (const KeyHelp& key : help.keys) width = std::max(width, key.key.size());
  for (const KeyHelp& key : help.keys) {
    out << indent << "  " << key.key << std::string(width - key.key.size() + 2, ' ') << key.help
        << '\n';
  }
}

void WriteKeys(std::ostream& out, const SectionHelp& section, const std::string& tab) {
  if (section.section.type == SectionType::Operations) {
    out << "; One operation per row: " << section.keys.front().help << ".\n; Operation is "
        << grids::OperationNames() << "; an empty cell keeps what the grid fills in.\n"
        << "; Replace, AUTHORITY, NEW AUTHORITY, CLASS, NEW CLASS[, Keep|Yes|No] replaces the row\n"
        << "; of AUTHORITY whose classes are CLASS by a row of NEW AUTHORITY; a row per class.\n"
        << ";Row1=\n;Row2=\n";
    return;
  }
  for (const KeyHelp& key : section.keys) {
    const std::string value = key.key == "Tab"                ? tab
                              : key.key == "Checked"          ? "No"
                              : key.key == "RecordsPerCommit" ? DefaultRecordsPerCommit()
                                                              : "";
    out << "; " << platform::UpperCase(key.help.substr(0, 1)) << key.help.substr(1) << ".\n"
        << (key.optional ? ";" : "") << key.key << "=" << value << '\n';
  }
}

}  // namespace

std::vector<SectionHelp> DescribeTab(const std::string& tab) {
  TabOf(tab);
  std::vector<SectionHelp> sections;
  for (const JobSection& section : TabSections(tab)) {
    switch (section.type) {
      case SectionType::Run:
        sections.push_back(DescribeRun(section));
        break;
      case SectionType::Kind:
        sections.push_back(DescribeKind(section));
        break;
      case SectionType::TaxGroup:
        sections.push_back(DescribeMapping(section));
        break;
      case SectionType::Operations:
        sections.push_back(DescribeOperations(section));
        break;
    }
  }
  return sections;
}

void PrintJobList(std::ostream& out, const std::vector<std::string>& tabs) {
  const std::vector<std::string>& chosen = tabs.empty() ? convert::RunTabs() : tabs;
  for (size_t i = 0; i < chosen.size(); ++i) {
    const std::string tab = platform::UpperCase(chosen[i]);
    const std::vector<SectionHelp> sections = DescribeTab(tab);
    // [Run] is the same for every tab.
    if (i == 0) PrintSection(out, sections.front(), "");
    out << "\nTab " << tab << ": " << TabOf(tab).caption << '\n';
    for (size_t s = 1; s < sections.size(); ++s) PrintSection(out, sections[s], "  ");
  }
}

void WriteSkeleton(std::ostream& out, const std::string& code) {
  const std::string tab = platform::UpperCase(code);
  const std::vector<SectionHelp> sections = DescribeTab(tab);
  out << "; A job for ordavel-batch on the " << TabOf(tab).caption << " tab.\n"
      << "; Fill in Company and User, set Checked=Yes for the kinds to convert, and take the\n"
      << "; semicolon off each key you give. A key left commented out keeps what the window\n"
      << "; starts with. Sections and keys are not case-sensitive. A value loses the blanks\n"
      << "; around it; one in double quotes keeps everything between them, as in\n"
      << "; afecFromCustomer=\"  10\" (the range fields drop trailing blanks, as in the window).\n";
  for (const SectionHelp& section : sections) {
    out << "\n; " << section.caption << '\n' << "[" << section.section.name << "]\n";
    WriteKeys(out, section, tab);
  }
}

}  // namespace batch
