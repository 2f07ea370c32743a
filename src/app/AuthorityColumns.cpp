#include "app/AuthorityColumns.h"

namespace app {

void AddAuthorityColumns(grids::TaxAuthorityGrid& grid, const TaxAuthorityGridDef& def) {
  for (const AuthorityColumnDef& column : def.columns) {
    switch (column.kind) {
      case AuthorityColumnKind::FromClass:
        grid.AddFromTaxClassColumn(column.caption, column.width, column.classType,
                                   column.classAxis);
        break;
      case AuthorityColumnKind::ToClass:
        grid.AddToTaxClassColumn(column.caption, column.width, column.classType, column.classAxis);
        break;
      case AuthorityColumnKind::TaxIncluded:
        grid.AddTaxIncludedColumn(column.caption, column.width);
        break;
    }
  }
}

}  // namespace app
