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

/// A business-view data source: its name, its view and the header data source of its set.
struct SourceDef {
  std::string name;
  std::string view;
  std::string parent{};
};

/// The lookup list a range control's finder offers.
enum class FinderKind {
  Vendor,
  VendorGroup,
  RecurringPayable,
  Customer,
  CustomerGroup,
  ARItem,
  RecurringCharge,
  Item,
  Category,
  PriceList,
  Currency,
  OETemplate,
  MiscCharge,
  POTemplate,
  AdditionalCost,
  Bank,
  DistributionCode,
};

/// What a finder looks up and which fields it shows, searches and returns.
struct FinderSetup {
  std::string viewId;
  std::vector<int> display;
  std::vector<int> search;
  std::vector<int> returned;
};

/// When a range pair is shown.
enum class Visibility { Always, WhenAROption, WhenICOption };

/// A "from"/"to" pair of range edit controls: the key range of one field of a kind.
struct RangePairDef {
  std::string from;
  std::string to;
  /// The labels shown beside the controls, also their names in the range messages.
  std::string fromLabel;
  std::string toLabel;
  /// The header field the kind's filter compares with the pair's values.
  std::string key;
  /// The data source and the position of the field the controls are defined like.
  std::string source;
  int field = 1;
  FinderKind finder = FinderKind::Vendor;
  std::int32_t order = 0;
  Visibility shown = Visibility::Always;
  /// Item numbers are shown formatted and compared in their unformatted form.
  bool itemNumber = false;
  /// Whether the Convert checks refuse a from value greater than the to value.
  bool checked = true;

  // Filled in from the kind when the table is built.
  std::string tab{};
  std::string checkBox{};
  /// The first pair of a kind carries its check box and its criteria.
  bool firstOfBox = false;
};

/// The kinds of the columns of an operations grid.
enum class AuthorityColumnKind { FromClass, ToClass, TaxIncluded };

/// One class or tax-included column of an operations grid, as start-up adds it.
struct AuthorityColumnDef {
  AuthorityColumnKind kind;
  std::string caption;
  int width = 0;
  std::int16_t classType = 0;
  std::int16_t classAxis = 0;
};

/// One side of a tax-group mapping: the mapping object, its grid control (empty for a mapping
/// without classes), its tax-group edit control and its caption.
struct TaxGroupSideDef {
  std::string name;
  std::string gridControl;
  std::string taxGroupControl;
  std::string caption;
};

/// A section of a tab: the mapping its kinds convert with, a pair of tax-group mappings or an
/// operations grid, in the frame the window draws it in.
struct MappingDef {
  std::string tab;
  std::string frame;
  /// The frame's caption, which is also the mapping's name in its messages.
  std::string caption;
  /// How the frame follows the window's size.
  std::string tag{};
  ConversionType type = ConversionType::TaxGroup;
  /// Tax-group mappings: the from and to sides and the tax groups' transaction type (1 sales,
  /// 2 purchases).
  TaxGroupSideDef from{};
  TaxGroupSideDef to{};
  std::int16_t transactionType = 1;
  /// Operations grids: the grid object, its grid control and its columns in order.
  std::string grid{};
  std::string gridControl{};
  std::vector<AuthorityColumnDef> columns{};
  /// How the mapping's grid controls follow the window's size.
  std::string gridTag{};

  /// The grid controls and tax-group edit controls the section's check boxes enable together.
  std::vector<std::string> SharedControls() const;
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

/// Everything the program knows about one kind of record: its tab and check box, its data
/// sources, its range controls, the mapping it converts with, its log and where its tax fields
/// lie. The window's layout, the job files, the filters, the checks and the log derive from it.
struct KindDef {
  /// The module tab: "AP", "AR", "IC", "OE", "PO" or "BK".
  std::string tab;
  /// The check box that selects the kind for a run, and its caption.
  std::string checkBox;
  std::string checkBoxCaption;
  /// The main window's procedure that converts the kind.
  std::string procedure;
  /// The data sources the kind needs, its header first, opened in this order while the tab's
  /// module is active.
  std::vector<SourceDef> sources;
  /// The data source of the detail rows; empty for the tax-group kinds.
  std::string detailSource{};
  /// The name the kind's log file is made from.
  std::string logName;
  /// The frame of the mapping the kind converts with.
  std::string mapping;
  /// The range pairs in the order the window shows them and the log lists them.
  std::vector<RangePairDef> ranges;
  /// The positions in `ranges` in the order the filter compares them, when that is another.
  std::vector<int> filterOrder{};

  /// Tax-group kinds: the header's tax-group field, by name and position (from 1).
  std::string taxGroupField{};
  std::int32_t lTaxGroupIDX = -1;
  /// Tax-group kinds: the class fields are this prefix with 1 to 5; empty when the mapping has no
  /// classes.
  std::string taxClassFieldPrefix{};
  /// Tax-group kinds: the registration fields are this prefix with 1 to 5; empty for no lines.
  std::string taxRegistrationFieldPrefix{};

  /// Tax-authority kinds: position (from 1) of the authority field of the detail view.
  std::int32_t lAuhorityIDX = -1;
  /// Tax-authority kinds: the detail field position of every class column, from columns first
  /// and to columns after them, each group in the order the grid's columns were added.
  std::vector<std::int32_t> classFieldIDX{};
  /// Tax-authority kinds: the detail field position of every tax-included column.
  std::vector<std::int32_t> taxIncludedFieldIDX{};

  /// The kind's additional criteria field.
  std::string criteria;

  // Filled in when the table is built, from the sources, the mapping and the ranges.
  std::string headerSource{};
  std::string headerView{};
  std::string detailView{};
  ConversionType type = ConversionType::TaxGroup;
  /// Tax-group kinds: the from and to mappings.
  std::string fromGrid{};
  std::string toGrid{};
  /// Tax-authority kinds: the operations grid.
  std::string authorityGrid{};
  /// The conditions joined into the kind's filter, in order.
  std::vector<FilterCondition> conditions{};
  /// The range lines of the log, in order.
  std::vector<RangeLine> rangeLines{};
};

/// A module tab: its application code and caption.
struct TabDef {
  std::string code;
  std::string caption;
};

/// The data sources of the tax views, opened before any module's.
const std::vector<SourceDef>& TaxSources();
/// The data source of the items view, whose key field unformats item numbers.
inline constexpr const char* kItemsSource = "adsICITEM";

/// The six module tabs in index order.
const std::vector<TabDef>& Tabs();
/// The module codes of the tabs, in tab index order ("AP" is tab 0, "BK" tab 5).
const std::vector<std::string>& RunTabs();
/// The index of the tab whose code is `code`; -1 for none.
int TabIndexOf(const std::string& code);

/// The twelve sections with their mappings, tab by tab, top to bottom.
const std::vector<MappingDef>& Mappings();
/// The mapping `kind` converts with.
const MappingDef& MappingOf(const KindDef& kind);

/// The nineteen kinds, tab by tab in the order a run converts them.
const std::vector<KindDef>& Kinds();
/// The kinds of one module tab, in running order.
std::vector<const KindDef*> TabKinds(const std::string& tab);
/// The kind whose target procedure is `procedure`; an unknown name raises std::out_of_range.
const KindDef& KindTargetOf(const std::string& procedure);
/// The kind whose check box is `checkBox`, or nullptr.
const KindDef* KindOfCheckBox(const std::string& checkBox);
/// The kind whose log name is `logName`, or nullptr.
const KindDef* KindOfLogName(const std::string& logName);

/// The range pairs of every kind, kind by kind in the table's order.
const std::vector<RangePairDef>& RangePairs();

/// The data sources a tab opens while its module is active, in order.
std::vector<SourceDef> TabSources(const std::string& tab);
/// Every data source: the tax ones, then each tab's.
std::vector<SourceDef> AllSources();

/// The finder set-up of a kind of lookup.
const FinderSetup& FinderSetupOf(FinderKind kind);

}  // namespace convert
