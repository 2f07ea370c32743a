#include "convert/AuthorityColumns.h"

#include <stdexcept>

namespace convert {

void AddAuthorityColumns(grids::TaxAuthorityGrid& grid, const MappingDef& mapping) {
  for (const AuthorityColumnDef& column : mapping.columns) {
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

std::vector<std::string> RowColumns(const std::string& grid) {
  for (const MappingDef& mapping : Mappings()) {
    if (mapping.type != ConversionType::TaxAuthority || mapping.grid != grid) continue;
    host::GridControl control;
    grids::TaxAuthorityGrid operations([] { return nullptr; });
    operations.Grid(&control);
    AddAuthorityColumns(operations, mapping);
    std::vector<std::string> captions;
    for (int column = 0; column < control.ColumnCount(); ++column) {
      captions.push_back(control.Column(column).caption);
    }
    return captions;
  }
  throw std::invalid_argument("There is no operations grid " + grid + ".");
}

}  // namespace convert
