#pragma once

#include "convert/KindTable.h"
#include "grids/TaxAuthorityGrid.h"

#include <string>
#include <vector>

namespace convert {

/// Adds the class and tax-included columns of `mapping` to an operations grid whose grid control
/// is set, in the order of the table, after the Operation and Authority columns the grid makes
/// itself.
void AddAuthorityColumns(grids::TaxAuthorityGrid& grid, const MappingDef& mapping);

/// The captions of the columns of a row of the operations grid `grid`, in order, as start-up
/// builds the grid; an unknown grid raises std::invalid_argument.
std::vector<std::string> RowColumns(const std::string& grid);

}  // namespace convert
