#include "convert/TabChecks.h"

#include <algorithm>

namespace convert {
namespace {

/// Range pairs that are logged but never checked: a reversed miscellaneous charge currency range
/// has always been let through to the run, where it simply matches no record.
const std::vector<std::string> kUncheckedRanges = {"afecFromMiscChargeCurrency"};

const std::string& MappingOf(const KindTarget& kind) {
  return kind.type == ConversionType::TaxGroup ? kind.fromGrid : kind.authorityGrid;
}

bool Checked(const RangeLine& line) {
  return std::find(kUncheckedRanges.begin(), kUncheckedRanges.end(), line.fromControl) ==
         kUncheckedRanges.end();
}

}  // namespace

const std::vector<std::string>& RunTabs() {
  static const std::vector<std::string> tabs = {"AP", "AR", "IC", "OE", "PO", "BK"};
  return tabs;
}

std::vector<const KindTarget*> TabKinds(const std::string& tab) {
  std::vector<const KindTarget*> kinds;
  for (const KindTarget& kind : KindTargets()) {
    if (kind.tab == tab) kinds.push_back(&kind);
  }
  return kinds;
}

std::vector<CheckGroup> TabChecks(const std::string& tab) {
  std::vector<CheckGroup> groups;
  std::vector<std::string> mappings;
  for (const KindTarget* kind : TabKinds(tab)) {
    auto at = std::find(mappings.begin(), mappings.end(), MappingOf(*kind));
    if (at == mappings.end()) {
      mappings.push_back(MappingOf(*kind));
      groups.push_back({.type = kind->type,
                        .fromGrid = kind->fromGrid,
                        .toGrid = kind->toGrid,
                        .authorityGrid = kind->authorityGrid});
      at = mappings.end() - 1;
    }
    CheckGroup& group = groups[static_cast<size_t>(at - mappings.begin())];
    group.checkBoxes.push_back(kind->checkBox);
    for (const RangeLine& line : kind->rangeLines) {
      if (Checked(line)) group.ranges.push_back({line.fromControl, line.toControl, kind->checkBox});
    }
  }
  return groups;
}

}  // namespace convert
