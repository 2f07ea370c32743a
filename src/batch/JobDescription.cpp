#include "batch/JobDescription.h"

#include "app/AuthorityColumns.h"
#include "app/Layout.h"
#include "convert/CommitBatches.h"
#include "convert/TabChecks.h"
#include "host/controls/GridControl.h"
#include "platform/Text.h"

#include <algorithm>
#include <stdexcept>

namespace batch {
namespace {

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::string defaultRecordsPerCommit() {
  return std::to_string(convert::CommitBatches::kDefaultRecordsPerCommit);
}

const app::TabDef& tabOf(const std::string& code) {
  for (const app::TabDef& tab : app::Tabs()) {
    if (tab.code == code) return tab;
  }
  throw std::invalid_argument("There is no tab " + code + "; the tabs are " +
                              joined(convert::RunTabs()) + ".");
}

std::string checkBoxCaption(const std::string& name) {
  for (const app::CheckBoxDef& box : app::CheckBoxes()) {
    if (box.name == name) return box.caption;
  }
  return name;
}

/// "From Customer" or "To Customer": the label the window shows beside a range control.
std::string rangeLabel(const std::string& control) {
  for (const app::RangePairDef& pair : app::RangePairs()) {
    if (pair.from == control) return "From " + pair.fromLabel;
    if (pair.to == control) return "To " + pair.toLabel;
  }
  return control;
}

SectionHelp describeRun(const JobSection& section) {
  return {section,
          "Who signs on where, and which tab runs",
          {{"Company", "the company's ID (--company runs the job on another one)", false},
           {"User", "the user who signs on", false},
           {"Tab", "one of " + joined(convert::RunTabs()), false},
           {"RecordsPerCommit",
            "records committed together, from 1 to " +
                std::to_string(convert::CommitBatches::kMaxRecordsPerCommit) + "; " +
                defaultRecordsPerCommit() +
                " unless given; 1 commits each record alone (--records-per-commit overrides it)"},
           {"WebApi",
            "the base address of the ERP's Web API, up to and including /-/, to convert through "
            "it instead of the local ERP (--web-api overrides it)"},
           {"LogFolder",
            "with WebApi: the folder below which each company's logs go, one folder per company "
            "(--log-folder overrides it)"}}};
}

SectionHelp describeKind(const JobSection& section) {
  const convert::KindTarget& kind = *section.kind;
  SectionHelp help{section, checkBoxCaption(kind.checkBox) + ", view " + kind.headerView, {}};
  help.keys.push_back({"Checked", "Yes or No", false});
  for (const std::string& range : RangeKeys(kind)) help.keys.push_back({range, rangeLabel(range)});
  help.keys.push_back({"Criteria", "a filter of view " + kind.headerView +
                                       " that narrows the selection (erp query --fields " +
                                       kind.headerView + " lists its fields)"});
  return help;
}

SectionHelp describeMapping(const JobSection& section) {
  std::string caption = section.name;
  std::string transactions;
  for (const app::TaxGroupGridDef& grid : app::TaxGroupGrids()) {
    if (grid.name != section.name) continue;
    caption = grid.caption;
    transactions = grid.transactionType == 1 ? "sales" : "purchases";
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

SectionHelp describeOperations(const JobSection& section) {
  std::string caption = section.name;
  for (const app::TaxAuthorityGridDef& grid : app::TaxAuthorityGrids()) {
    if (grid.name == section.name) caption = grid.frameCaption;
  }
  // The rows share one meaning: the operation (Insert, Update or Delete), the authority, then
  // the grid's class and tax-included cells.
  return {section, caption, {{joined(section.keys), joined(RowColumns(section.name))}}};
}

void printSection(std::ostream& out, const SectionHelp& help, const std::string& indent) {
  out << indent << "[" << help.section.name << "]  " << help.caption << '\n';
  size_t width = 0;
  for (const KeyHelp& key : help.keys) width = std::max(width, key.key.size());
  for (const KeyHelp& key : help.keys) {
    out << indent << "  " << key.key << std::string(width - key.key.size() + 2, ' ') << key.help
        << '\n';
  }
}

void writeKeys(std::ostream& out, const SectionHelp& section, const std::string& tab) {
  if (section.section.type == SectionType::Operations) {
    out << "; One operation per row: " << section.keys.front().help
        << ".\n; Operation is Insert, Update or Delete; an empty cell keeps what the grid fills "
           "in.\n;Row1=\n;Row2=\n";
    return;
  }
  for (const KeyHelp& key : section.keys) {
    const std::string value = key.key == "Tab"                ? tab
                              : key.key == "Checked"          ? "No"
                              : key.key == "RecordsPerCommit" ? defaultRecordsPerCommit()
                                                              : "";
    out << "; " << platform::UpperCase(key.help.substr(0, 1)) << key.help.substr(1) << ".\n"
        << (key.optional ? ";" : "") << key.key << "=" << value << '\n';
  }
}

}  // namespace

std::vector<std::string> RowColumns(const std::string& grid) {
  for (const app::TaxAuthorityGridDef& def : app::TaxAuthorityGrids()) {
    if (def.name != grid) continue;
    host::GridControl control;
    grids::TaxAuthorityGrid operations([] { return nullptr; });
    operations.Grid(&control);
    app::AddAuthorityColumns(operations, def);
    std::vector<std::string> captions;
    for (int column = 0; column < control.ColumnCount(); ++column) {
      captions.push_back(control.Column(column).caption);
    }
    return captions;
  }
  throw std::invalid_argument("There is no operations grid " + grid + ".");
}

std::vector<SectionHelp> DescribeTab(const std::string& tab) {
  tabOf(tab);
  std::vector<SectionHelp> sections;
  for (const JobSection& section : TabSections(tab)) {
    switch (section.type) {
      case SectionType::Run:
        sections.push_back(describeRun(section));
        break;
      case SectionType::Kind:
        sections.push_back(describeKind(section));
        break;
      case SectionType::TaxGroup:
        sections.push_back(describeMapping(section));
        break;
      case SectionType::Operations:
        sections.push_back(describeOperations(section));
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
    if (i == 0) printSection(out, sections.front(), "");
    out << "\nTab " << tab << ": " << tabOf(tab).caption << '\n';
    for (size_t s = 1; s < sections.size(); ++s) printSection(out, sections[s], "  ");
  }
}

void WriteSkeleton(std::ostream& out, const std::string& code) {
  const std::string tab = platform::UpperCase(code);
  const std::vector<SectionHelp> sections = DescribeTab(tab);
  out << "; A job for ordavel-batch on the " << tabOf(tab).caption << " tab.\n"
      << "; Fill in Company and User, set Checked=Yes for the kinds to convert, and take the\n"
      << "; semicolon off each key you give. A key left commented out keeps what the window\n"
      << "; starts with. Sections and keys are not case-sensitive. A value loses the blanks\n"
      << "; around it; one in double quotes keeps everything between them, as in\n"
      << "; afecFromCustomer=\"  10\" (the range fields drop trailing blanks, as in the window).\n";
  for (const SectionHelp& section : sections) {
    out << "\n; " << section.caption << '\n' << "[" << section.section.name << "]\n";
    writeKeys(out, section, tab);
  }
}

}  // namespace batch
