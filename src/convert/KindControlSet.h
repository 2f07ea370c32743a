#pragma once

#include "convert/KindControls.h"
#include "convert/KindTable.h"
#include "grids/CriteriaField.h"
#include "grids/ErrorReporter.h"
#include "grids/TaxAuthorityGrid.h"
#include "grids/TaxGroupGrid.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/FieldEditEvents.h"
#include "host/controls/FilterWindow.h"
#include "host/controls/GridControl.h"

#include <map>
#include <memory>
#include <string>

namespace convert {

/// What the controls of the kinds are made with.
struct ControlParts {
  host::DataSourceFactory& dataSources;
  /// The error display the mappings report and show their refusals with.
  grids::ErrorDisplayFactory newErrorDisplay;
  /// The filter window the criteria fields open.
  host::FilterWindow& filterWindow;
};

/// The filter window of controls nobody sees: their criteria are given, never chosen.
class NoFilterWindow : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
};

/// Whether the signed-on company has the application `code` active.
bool IsModuleActive(host::AccpacConnection& connection, const std::string& code);

/// The controls the kinds need, made from the kind table: the data sources of every view, the
/// range controls, the tax-group edit controls and the grid controls of every tab, and, for each
/// tab that is built, its tax-group mappings, operations grids and criteria fields with the
/// columns and definitions start-up gives them. The main window draws them; a conversion enters
/// a request into a set of its own. Item numbers typed into item range controls are shown
/// formatted.
class KindControlSet : public KindControls, private host::FieldEditEvents {
 public:
  /// Every control of every tab, none of them bound yet and every data source closed.
  explicit KindControlSet(ControlParts parts);
  ~KindControlSet() override;
  KindControlSet(const KindControlSet&) = delete;
  KindControlSet& operator=(const KindControlSet&) = delete;

  /// Opens the data source `def` on the company's read-write link unless it is open; raises
  /// HostError when the ERP refuses.
  void Open(host::AccpacConnection& connection, const SourceDef& def);
  /// Opens the items view for a tab that filters by unformatted item numbers when its module
  /// is not active; where it cannot be opened the item numbers are used as typed.
  void OpenItemsFor(host::AccpacConnection& connection, const std::string& tab);
  /// Creates the tab's mappings, prepares its range controls (definition, starting value, label,
  /// finder, visibility) and creates its criteria fields; the tab's sources must be open.
  void BuildTab(host::AccpacConnection& connection, const std::string& tab);
  /// Releases the mappings and criteria fields and closes every data source.
  void Release();

  host::FieldEditControl& RangeControl(const std::string& name) override;
  host::DataSource& Source(const std::string& name) override;
  grids::TaxGroupGrid& TaxGroupGridNamed(const std::string& name) override;
  grids::TaxAuthorityGrid& TaxAuthorityGridNamed(const std::string& name) override;
  grids::CriteriaField& Criteria(const std::string& name) override;
  /// A grid control of a section, such as `agSalesFrom`.
  host::GridControl& GridControlNamed(const std::string& name);
  /// Whether the named tax-group, tax-authority grid or criteria field was created.
  bool Built(const std::string& name) const;

  /// Value number 6 of the Accounts Receivable options, as a Boolean.
  static bool ReadAROptionFlag(host::AccpacConnection& connection);
  /// Value number 25 of the Inventory Control options, as a Boolean.
  static bool ReadICOptionFlag(host::AccpacConnection& connection);
  /// Replaces an item number typed in an item field by its formatted form.
  void FormatItemNumberField(host::FieldEditControl& edit);
  /// Gives a range control its field definition, starting value and left label.
  static void DefineRangeField(host::FieldEditControl& edit, const host::Field& field,
                               const std::string& fill);

 private:
  void OnValueChanged(host::FieldEditControl& edit) override;
  void BuildTaxGroupGrid(const MappingDef& mapping, const TaxGroupSideDef& side);
  void BuildTaxAuthorityGrid(const MappingDef& mapping);
  void PrepareRangePair(host::AccpacConnection& connection, const KindDef& kind,
                        const RangePairDef& pair);
  static void SetupFinder(host::FieldEditControl& edit, FinderKind kind, std::int32_t order);

  ControlParts parts_;
  std::map<std::string, std::unique_ptr<host::DataSource>> sources_;
  std::map<std::string, std::unique_ptr<host::FieldEditControl>> edits_;
  std::map<std::string, std::unique_ptr<host::GridControl>> gridControls_;
  std::map<std::string, std::unique_ptr<grids::TaxGroupGrid>> taxGroupGrids_;
  std::map<std::string, std::unique_ptr<grids::TaxAuthorityGrid>> authorityGrids_;
  std::map<std::string, std::unique_ptr<grids::CriteriaField>> criteria_;
  bool formatting_ = false;
};

}  // namespace convert
