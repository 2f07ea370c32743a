#pragma once

#include "grids/CriteriaField.h"
#include "grids/TaxAuthorityGrid.h"
#include "grids/TaxGroupGrid.h"
#include "host/DataSource.h"
#include "host/controls/FieldEditControl.h"

#include <stdexcept>
#include <string>

namespace convert {

/// The control of `map` named `name`, for the *Named lookups of a set of controls; a name that
/// no control has is a fault of the caller, not of the operator.
template <typename Map>
auto& FindControl(Map& map, const std::string& name) {
  auto it = map.find(name);
  if (it == map.end()) throw std::out_of_range("No control is named " + name + ".");
  return it->second;
}

/// A set of the kinds' controls, data sources, grids and criteria fields, found by the names the
/// kind table uses: a conversion's own KindControlSet, which the targets convert through, and the
/// main window's, which a request is read from. An unknown name raises std::out_of_range.
///
/// The class and tax-included columns of a tax-authority grid need no look-up here: the grid
/// keeps them in its column tables (TaxClassFieldsFrom, TaxClassFieldsTo, TaxIncludedFields) in
/// the order start-up added them, and the target pairs that order with the kind's positions.
class KindControls {
 public:
  virtual ~KindControls() = default;

  /// A range or tax-group edit control of a section, such as `afecFromCustomer`.
  virtual host::FieldEditControl& RangeControl(const std::string& name) = 0;
  /// A data source, such as `adsARCUS`.
  virtual host::DataSource& Source(const std::string& name) = 0;
  /// A from or to tax-group mapping, such as `SalesFromGrid`.
  virtual grids::TaxGroupGrid& TaxGroupGridNamed(const std::string& name) = 0;
  /// A tax-authority operations grid, such as `ICItemsGrid`.
  virtual grids::TaxAuthorityGrid& TaxAuthorityGridNamed(const std::string& name) = 0;
  /// A kind's additional criteria field, such as `CustomerCriteria`.
  virtual grids::CriteriaField& Criteria(const std::string& name) = 0;
};

}  // namespace convert
