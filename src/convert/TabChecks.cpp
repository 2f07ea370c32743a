#include "convert/TabChecks.h"

#include <algorithm>

namespace convert {

std::vector<CheckGroup> TabChecks(const std::string& tab) {
  std::vector<CheckGroup> groups;
  std::vector<std::string> mappings;
  for (const KindDef* kind : TabKinds(tab)) {
    auto at = std::find(mappings.begin(), mappings.end(), kind->mapping);
    if (at == mappings.end()) {
      mappings.push_back(kind->mapping);
      groups.push_back({.type = kind->type,
                        .fromGrid = kind->fromGrid,
                        .toGrid = kind->toGrid,
                        .authorityGrid = kind->authorityGrid});
      at = mappings.end() - 1;
    }
    CheckGroup& group = groups[static_cast<size_t>(at - mappings.begin())];
    group.checkBoxes.push_back(kind->checkBox);
    for (const RangePairDef& pair : kind->ranges) {
      if (pair.checked) group.ranges.push_back({pair.from, pair.to, kind->checkBox});
    }
  }
  return groups;
}

}  // namespace convert
