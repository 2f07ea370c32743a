#pragma once

#include "convert/KindTable.h"

#include <optional>
#include <string>
#include <vector>

namespace batch {

/// What a section of a job file stands for.
enum class SectionType {
  Run,         ///< [Run]: who signs on where, which tab runs
  Kind,        ///< a kind of record, named by its check box
  TaxGroup,    ///< a from or to tax-group mapping, named by its grid
  Operations,  ///< an operations grid of tax-authority kinds
};

/// A section a job may hold and the keys it takes. The job reader refuses any other key, and
/// --list and --skeleton show exactly these, so the three never disagree.
struct JobSection {
  SectionType type = SectionType::Run;
  /// The name as the program spells it: "Run", "chkCustomers", "SalesFromGrid".
  std::string name;
  /// The tab the section belongs to; empty for [Run].
  std::string tab;
  /// The kind of a kind section; the first kind that uses a mapping or an operations grid.
  const convert::KindDef* kind = nullptr;
  /// The keys in the order a skeleton writes them; an operations grid's are "Row1", "Row2",
  /// "...".
  std::vector<std::string> keys;
};

/// The range controls a kind's section may set: every control of its filter but the tax group.
std::vector<std::string> RangeKeys(const convert::KindDef& kind);

/// The sections of a job for `tab`: [Run], then each kind in running order, each followed by the
/// mappings or the operations grid it is the first kind to use.
std::vector<JobSection> TabSections(const std::string& tab);

/// The section of any tab whose name is `name`, whatever its case.
std::optional<JobSection> FindSection(const std::string& name);

}  // namespace batch
