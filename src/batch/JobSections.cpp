#include "batch/JobSections.h"

#include "convert/TabChecks.h"
#include "platform/Text.h"

#include <algorithm>

namespace batch {
namespace {

JobSection RunSection() {
  return {SectionType::Run,
          "Run",
          "",
          nullptr,
          {"Company", "User", "Tab", "RecordsPerCommit", "WebApi", "LogFolder"}};
}

JobSection KindSection(const convert::KindDef& kind) {
  std::vector<std::string> keys = {"Checked"};
  for (const std::string& range : RangeKeys(kind)) keys.push_back(range);
  keys.push_back("Criteria");
  return {SectionType::Kind, kind.checkBox, kind.tab, &kind, keys};
}

JobSection MappingSection(const convert::KindDef& kind, const std::string& grid) {
  // Template codes carry a tax group only; their mappings have no class table.
  std::vector<std::string> keys = {"TaxGroup"};
  if (!kind.taxClassFieldPrefix.empty()) keys.push_back("Classes");
  return {SectionType::TaxGroup, grid, kind.tab, &kind, keys};
}

JobSection OperationsSection(const convert::KindDef& kind) {
  return {SectionType::Operations, kind.authorityGrid, kind.tab, &kind, {"Row1", "Row2", "..."}};
}

bool Named(const std::vector<JobSection>& sections, const std::string& name) {
  return std::any_of(sections.begin(), sections.end(),
                     [&name](const JobSection& section) { return section.name == name; });
}

}  // namespace

std::vector<std::string> RangeKeys(const convert::KindDef& kind) {
  // In the order the filter compares them, which is how a job names them.
  std::vector<std::string> names;
  for (const convert::FilterCondition& condition : kind.conditions) {
    for (const convert::RangePairDef& pair : kind.ranges) {
      const bool range = condition.control == pair.from || condition.control == pair.to;
      if (range && std::find(names.begin(), names.end(), condition.control) == names.end()) {
        names.push_back(condition.control);
      }
    }
  }
  return names;
}

std::vector<JobSection> TabSections(const std::string& tab) {
  std::vector<JobSection> sections = {RunSection()};
  for (const convert::KindDef* kind : convert::TabKinds(tab)) {
    sections.push_back(KindSection(*kind));
    for (const std::string* grid : {&kind->fromGrid, &kind->toGrid}) {
      if (!grid->empty() && !Named(sections, *grid)) {
        sections.push_back(MappingSection(*kind, *grid));
      }
    }
    if (!kind->authorityGrid.empty() && !Named(sections, kind->authorityGrid)) {
      sections.push_back(OperationsSection(*kind));
    }
  }
  return sections;
}

std::optional<JobSection> FindSection(const std::string& name) {
  const std::string wanted = platform::UpperCase(name);
  if (wanted == "RUN") return RunSection();
  for (const std::string& tab : convert::RunTabs()) {
    for (const JobSection& section : TabSections(tab)) {
      if (platform::UpperCase(section.name) == wanted) return section;
    }
  }
  return std::nullopt;
}

}  // namespace batch
