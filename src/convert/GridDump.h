#pragma once

#include "grids/ColumnTable.h"
#include "host/controls/GridControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace convert {

/// The lines of a grid written as a text table: captions, dashes, then one line per row; each
/// column as wide as its widest text, right-aligned columns (alignment 1) padded in front.
std::vector<std::string> GridTableLines(const host::GridControl& grid,
                                        const grids::ColumnTable<std::string>& captions,
                                        const grids::ColumnTable<std::int32_t>& alignment);

}  // namespace convert
