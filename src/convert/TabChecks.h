#pragma once

#include "convert/KindTable.h"

#include <string>
#include <vector>

namespace convert {

/// One range pair checked before a run, with the check box of the kind it belongs to.
struct RangeCheck {
  std::string fromControl{};
  std::string toControl{};
  std::string checkBox{};
};

/// The checks of the kinds that share one mapping: they run when any of the kinds' boxes is
/// checked, range pairs first, then the mapping itself.
struct CheckGroup {
  ConversionType type = ConversionType::TaxGroup;
  /// The boxes of the kinds of the group, in running order.
  std::vector<std::string> checkBoxes{};
  std::vector<RangeCheck> ranges{};
  /// Tax-group groups: the from and to mappings whose tax groups must exist.
  std::string fromGrid{};
  std::string toGrid{};
  /// Tax-authority groups: the grid that must hold operations.
  std::string authorityGrid{};
};

/// The checks of one module tab, in the order they run: one group per mapping, in the order of
/// the mapping's first kind.
std::vector<CheckGroup> TabChecks(const std::string& tab);

}  // namespace convert
