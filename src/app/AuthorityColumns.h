#pragma once

#include "app/Layout.h"
#include "grids/TaxAuthorityGrid.h"

namespace app {

/// Adds the class and tax-included columns of `def` to an operations grid whose grid control is
/// set, in the order of the layout table, after the Operation and Authority columns the grid
/// makes itself.
void AddAuthorityColumns(grids::TaxAuthorityGrid& grid, const TaxAuthorityGridDef& def);

}  // namespace app
