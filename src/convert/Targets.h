#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace convert {

/// Which record conversion a kind hands over to.
enum class ConversionType {
  TaxGroup,      ///< a header record's tax group and classes change
  TaxAuthority,  ///< per-authority detail rows are inserted, updated or deleted
};

/// One condition of a kind's filter: the opening text, then the quoted value of the control.
struct FilterCondition {
  /// Everything before the quoted value, for example "(IDCUST>=" or "(CODETAXGRP= ".
  std::string opening{};
  /// The edit control whose value is compared.
  std::string control{};
  /// Whether the value is an item number that the ERP compares in its unformatted form.
  bool unformat = false;
};

/// A pair of range controls written into the log before the records are converted.
struct RangeLine {
  std::string fromControl{};
  std::string toControl{};
  /// Whether the line is written only while the from control is visible (currency ranges, which
  /// are hidden in a single-currency company).
  bool onlyWhileVisible = false;
};

/// Everything the program knows about one kind of record: where its controls, grids and data
/// sources are, how its filter is made and where its tax fields lie.
struct KindTarget {
  /// The module tab: "AP", "AR", "IC", "OE", "PO" or "BK".
  std::string tab{};
  /// The check box that selects the kind for a run.
  std::string checkBox{};
  /// The main window's procedure that converts the kind.
  std::string procedure{};
  std::string headerSource{};
  std::string headerView{};
  /// Empty for the tax-group kinds, which have no detail view.
  std::string detailSource{};
  std::string detailView{};
  ConversionType type = ConversionType::TaxGroup;
  /// The name the kind's log file is made from.
  std::string logName{};
  /// The conditions joined into the kind's filter, in order.
  std::vector<FilterCondition> conditions{};

  /// Tax-group kinds: the from and to mapping grids.
  std::string fromGrid{};
  std::string toGrid{};
  /// Tax-group kinds: position (from 1) of the tax-group field of the header view.
  std::int32_t lTaxGroupIDX = -1;
  /// Tax-group kinds: the class fields are this prefix with 1 to 5; empty when the grid has no
  /// class table.
  std::string taxClassFieldPrefix{};
  /// Tax-group kinds: the registration fields are this prefix with 1 to 5; empty for no lines.
  std::string taxRegistrationFieldPrefix{};

  /// Tax-authority kinds: the operations grid.
  std::string authorityGrid{};
  /// Tax-authority kinds: position (from 1) of the authority field of the detail view.
  std::int32_t lAuhorityIDX = -1;
  /// Tax-authority kinds: the detail field position of every class column, from columns first
  /// and to columns after them, each group in the order the grid's columns were added.
  std::vector<std::int32_t> classFieldIDX{};
  /// Tax-authority kinds: the detail field position of every tax-included column, in the order
  /// the grid's columns were added; empty when the grid has none.
  std::vector<std::int32_t> taxIncludedFieldIDX{};

  /// The range lines of the log, in order.
  std::vector<RangeLine> rangeLines{};
  /// The kind's additional criteria field.
  std::string criteria{};
};

/// The nineteen kinds, tab by tab in the order a run converts them.
const std::vector<KindTarget>& KindTargets();

/// The kind whose target procedure is `procedure`; an unknown name raises std::out_of_range.
const KindTarget& KindTargetOf(const std::string& procedure);

}  // namespace convert
