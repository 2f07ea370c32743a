#include "convert/TargetProcedures.h"

#include "util/ShellHelpers.h"

#include <stdexcept>
#include <vector>

namespace convert {
namespace {

void LogRanges(const KindDef& target, KindControls& controls, ConversionEngine& engine) {
  for (const RangeLine& line : target.rangeLines) {
    host::FieldEditControl& from = controls.RangeControl(line.fromControl);
    if (line.onlyWhileVisible && !from.Visible()) continue;
    engine.LogRange(from, controls.RangeControl(line.toControl));
  }
}

/// Gives each column its detail field position, pairing the columns in the order they were
/// added with the positions in the order of the table.
void SetFieldPositions(const std::vector<int>& columns, const std::vector<std::int32_t>& positions,
                       const std::string& what, const KindDef& target,
                       void (grids::TaxAuthorityGrid::*set)(int, std::int32_t),
                       grids::TaxAuthorityGrid& grid) {
  if (columns.size() != positions.size()) {
    throw std::logic_error(target.authorityGrid + " has " + std::to_string(columns.size()) + " " +
                           what + " columns; " + target.procedure + " needs " +
                           std::to_string(positions.size()) + ".");
  }
  for (size_t i = 0; i < columns.size(); ++i) (grid.*set)(columns[i], positions[i]);
}

}  // namespace

std::string UnformatItemNumber(host::DataSource& adsICITEM, const std::string& text) {
  // Without the items view (no Inventory Control) the number is used as typed.
  if (text.empty() || !adsICITEM.IsOpen()) return text;
  host::Field field = adsICITEM.Fields(kItemNumberField);
  field.PutWithoutVerification(text);
  field.Verify();
  return field.Text();
}

std::string BuildKindFilter(const KindDef& target, KindControls& controls) {
  std::string filter;
  for (const FilterCondition& condition : target.conditions) {
    std::string value = controls.RangeControl(condition.control).Value();
    if (condition.unformat) value = UnformatItemNumber(controls.Source(kItemsSource), value);
    if (!filter.empty()) filter += " AND ";
    filter += condition.opening + "\"" + util::EscapeQuotes(value) + "\"" + ")";
  }
  return filter;
}

void RunTaxGroupTarget(const KindDef& target, KindControls& controls, ConversionEngine& engine) {
  grids::TaxGroupGrid& from = controls.TaxGroupGridNamed(target.fromGrid);
  grids::TaxGroupGrid& to = controls.TaxGroupGridNamed(target.toGrid);
  // Taking the header first clears what an earlier kind left on the shared grid.
  from.adsHeader(&controls.Source(target.headerSource));
  from.Filter(BuildKindFilter(target, controls));
  from.lTaxGroupIDX(target.lTaxGroupIDX);
  from.TaxClassFieldPrefix(target.taxClassFieldPrefix);
  if (!target.taxRegistrationFieldPrefix.empty()) {
    from.TaxRegistrationFieldPrefix(target.taxRegistrationFieldPrefix);
  }
  engine.CopyTaxGroupGridSettings(from, to);
  engine.StartTaxGroupLog(from, to, target.logName);
  LogRanges(target, controls, engine);
  engine.ConvertTaxGroupRecords(from, to, controls.Criteria(target.criteria));
}

void RunTaxAuthorityTarget(const KindDef& target, KindControls& controls,
                           ConversionEngine& engine) {
  grids::TaxAuthorityGrid& grid = controls.TaxAuthorityGridNamed(target.authorityGrid);
  grid.adsHeader(&controls.Source(target.headerSource));
  grid.Filter(BuildKindFilter(target, controls));
  grid.adsDetail(&controls.Source(target.detailSource));
  grid.lAuhorityIDX(target.lAuhorityIDX);
  std::vector<int> classColumns = grid.TaxClassFieldsFrom().Columns();
  for (int column : grid.TaxClassFieldsTo().Columns()) classColumns.push_back(column);
  SetFieldPositions(classColumns, target.classFieldIDX, "class", target,
                    &grids::TaxAuthorityGrid::SetTaxClassFieldIDX, grid);
  SetFieldPositions(grid.TaxIncludedFields().Columns(), target.taxIncludedFieldIDX, "tax-included",
                    target, &grids::TaxAuthorityGrid::SetTaxIncludedFieldIDX, grid);
  engine.StartTaxAuthorityLog(grid, target.logName);
  LogRanges(target, controls, engine);
  engine.ConvertTaxAuthorityRecords(grid, controls.Criteria(target.criteria));
}

void RunTarget(const KindDef& target, KindControls& controls, ConversionEngine& engine) {
  if (target.type == ConversionType::TaxGroup) {
    RunTaxGroupTarget(target, controls, engine);
  } else {
    RunTaxAuthorityTarget(target, controls, engine);
  }
}

}  // namespace convert
