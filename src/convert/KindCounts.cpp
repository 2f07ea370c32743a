#include "convert/KindCounts.h"

namespace convert {

KindCounts CountsOf(const KindDef& kind, KindControls& controls) {
  if (kind.type == ConversionType::TaxGroup) {
    const grids::TaxGroupGrid& grid = controls.TaxGroupGridNamed(kind.toGrid);
    return {grid.lRecords(), grid.lUpdated(), grid.lSkipped(), grid.lFailed()};
  }
  const grids::TaxAuthorityGrid& grid = controls.TaxAuthorityGridNamed(kind.authorityGrid);
  return {grid.lRecords(), grid.lUpdated(), grid.lSkipped(), grid.lFailed()};
}

}  // namespace convert
