#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

/// A business-view data source of the main window: its name, view and header data source.
struct DataSourceDef {
  std::string name;
  std::string view;
  std::string parent{};
};

/// A module tab: caption, application code and the data sources opened while it is active.
struct TabDef {
  std::string caption;
  std::string code;
  std::vector<std::string> sources;
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

/// A "from"/"to" pair of range edit controls, in the order start-up prepares them.
struct RangePairDef {
  std::string tab;
  /// The check box that owns the pair; the first pair of a box starts its kind.
  std::string checkBox;
  bool firstOfBox = true;
  std::string from;
  std::string to;
  std::string fromLabel;
  std::string toLabel;
  std::string source;
  int field = 1;
  FinderKind finder = FinderKind::Vendor;
  std::int32_t order = 0;
  Visibility shown = Visibility::Always;
  bool itemNumber = false;
};

/// What a section's shared control is.
enum class SharedControlKind { TaxGroupEdit, MappingGrid };

/// A control of a section that its check boxes enable together.
struct SharedControlDef {
  std::string name;
  SharedControlKind kind;
};

/// A section frame: the boxes that enable its shared controls.
struct SectionDef {
  std::string tab;
  std::string frame;
  std::string caption;
  std::string tag;
  std::vector<std::string> checkBoxes;
  std::vector<SharedControlDef> sharedControls;
};

/// A check box with its caption.
struct CheckBoxDef {
  std::string name;
  std::string caption;
};

/// A from or to tax-group mapping of a section.
struct TaxGroupGridDef {
  std::string name;
  std::string tab;
  std::string frameCaption;
  std::string gridControl;  ///< empty when the mapping has no grid
  std::string taxGroupControl;
  std::string caption;
  std::int16_t transactionType = 1;
};

/// The kinds of columns of a tax-authority grid.
enum class AuthorityColumnKind { FromClass, ToClass, TaxIncluded };

/// One column call of a tax-authority grid.
struct AuthorityColumnDef {
  AuthorityColumnKind kind;
  std::string caption;
  int width = 0;
  std::int16_t classType = 0;
  std::int16_t classAxis = 0;
};

/// A tax-authority operations grid and the range pair it is built before.
struct TaxAuthorityGridDef {
  std::string name;
  std::string tab;
  std::string frameCaption;
  std::string gridControl;
  std::vector<AuthorityColumnDef> columns;
  /// The "from" control of the range pair that is prepared after the grid.
  std::string beforePair;
};

/// A kind's additional criteria field, bound to the kind's first "to" control.
struct CriteriaDef {
  std::string name;
  std::string tab;
  std::string editControl;
  std::string source;
};

/// A control that DoResize may move, with its resize Tag.
struct ResizeTagDef {
  std::string control;
  std::string tag;
};

/// The program's title.
inline constexpr const char* kProgramTitle = "Ordavel";
/// The program identifier given to the sign-on.
inline constexpr const char* kProgramId = "ZX1000";
/// The application code of Tax Services.
inline constexpr const char* kTaxServicesCode = "TX";
/// The user guide below the program's folder.
inline constexpr const char* kUserGuide = "Documentation/Ordavel User Guide.pdf";

/// The tax data sources, opened before any module's.
const std::vector<std::string>& TaxSources();
/// All 49 data sources: the tax ones, then each module's in tab order.
const std::vector<DataSourceDef>& DataSources();
/// The six module tabs in index order.
const std::vector<TabDef>& Tabs();
/// The sections of all tabs, top to bottom per tab.
const std::vector<SectionDef>& Sections();
/// Every check box in section order.
const std::vector<CheckBoxDef>& CheckBoxes();
/// The range pairs in the order start-up prepares them.
const std::vector<RangePairDef>& RangePairs();
/// The finder set-up of a kind of lookup.
const FinderSetup& FinderSetupOf(FinderKind kind);
/// The ten tax-group mappings.
const std::vector<TaxGroupGridDef>& TaxGroupGrids();
/// The seven tax-authority grids.
const std::vector<TaxAuthorityGridDef>& TaxAuthorityGrids();
/// The nineteen criteria fields, derived from the kinds.
const std::vector<CriteriaDef>& CriteriaFields();
/// The resize Tags of the grids, frames and window-level controls.
const std::vector<ResizeTagDef>& ResizeTags();

}  // namespace app
