#include "grids/TaxClassCells.h"

#include "grids/Messages.h"
#include "grids/TaxFinders.h"

#include "host/HostError.h"

#include "util/ShellHelpers.h"

#include <memory>

namespace grids {
namespace {

// Class cells are edited as small whole numbers: no decimals, two digits, the ERP's domain 4.
constexpr int kDecimalsBefore = 2;
constexpr int kNumberDomain = 4;
constexpr int kNumberControlType = 4;

}  // namespace

std::string TaxClassFinderFilter(const std::string& authority, const ClassField& column) {
  return "AUTHORITY = \"" + util::EscapeQuotes(authority) +
         "\" AND CLASSTYPE = " + std::to_string(column.ClassType) +
         " AND CLASSAXIS = " + std::to_string(column.ClassAxis);
}

void SetTaxClassFinder(host::FieldEditControl& editor, const std::string& authority,
                       const ClassField& column) {
  host::ViewFinder finder = editor.ViewFinder();
  finder.Filter = TaxClassFinderFilter(authority, column);
  finder.InitKeyValue = {authority, std::int64_t{column.ClassType}, std::int64_t{column.ClassAxis},
                         editor.Value()};
  editor.SetViewFinder(std::move(finder));
}

void PrepareTaxClassEditor(host::FieldEditControl& editor, const std::string& cell,
                           host::DataSource& adsTXCLASS) {
  editor.SetCurrencyCode("");
  // Switching the system default on and off again makes the editor drop any number format it
  // had, so that the explicit settings below apply.
  editor.SetUseSysDefForNumber(true);
  editor.SetUseSysDefForNumber(false);
  editor.SetNumberDecimalsAfter(0);
  editor.SetNumberDecimalsBefore(kDecimalsBefore);
  editor.SetNumberDomain(kNumberDomain);
  editor.SetViewFinderButton(true);
  SetupTaxClassFinder(editor, 0);
  auto field = std::make_shared<host::StandaloneField>();
  field->DefineLike(adsTXCLASS.Fields(kClassField));
  field->PutWithoutVerification(cell);
  editor.SetControlType(kNumberControlType);
  editor.SetAccpacField(field);
}

std::string DefaultTaxClassFilter(const std::string& authority, const ClassField& column) {
  return "(AUTHORITY=\"" + util::EscapeQuotes(authority) +
         "\") AND (CLASSTYPE=" + std::to_string(column.ClassType) +
         ") AND (CLASSAXIS=" + std::to_string(column.ClassAxis) + ")";
}

std::string LowestTaxClass(host::DataSource& adsTXCLASS, const std::string& authority,
                           const ClassField& column) {
  // A browse starts at the key values in the record buffer: blank them so that it starts at the
  // lowest class and not after the class last read.
  adsTXCLASS.ClearRecord();
  adsTXCLASS.Browse(DefaultTaxClassFilter(authority, column), true);
  if (!adsTXCLASS.Fetch(false)) return {};
  return adsTXCLASS.Fields(kClassField).Text();
}

void ValidateTaxClassCell(host::GridControl& grid, int column, int row,
                          const std::string& authority, const ClassField& classField,
                          const host::FieldEditControl& editor, host::DataSource& adsTXCLASS,
                          const std::string& lastValue,
                          const std::function<void(const std::string&)>& refuse) {
  try {
    const host::AccpacField& bound = editor.AccpacField();
    host::Variant value = bound.IsBound() ? bound.Value() : host::Variant(editor.Value());
    std::string text = bound.IsBound() ? bound.Text() : editor.Value();
    adsTXCLASS.ClearRecord();
    adsTXCLASS.Fields(kClassAuthorityField).PutWithoutVerification(authority);
    adsTXCLASS.Fields(kClassTypeField).PutWithoutVerification(std::int64_t{classField.ClassType});
    adsTXCLASS.Fields(kClassAxisField).PutWithoutVerification(std::int64_t{classField.ClassAxis});
    adsTXCLASS.Fields(kClassField).PutWithoutVerification(value);
    if (adsTXCLASS.Read()) {
      grid.SetEditState(false);
      grid.SetCellData(column, row, text);
    } else {
      refuse(DoesNotExist(adsTXCLASS.Fields(kClassField).Description(), text));
      grid.SetCellData(column, row, lastValue);
    }
  } catch (const host::HostError&) {
    // The ERP could not be asked; the cell keeps what the editor left in it.
  }
}

}  // namespace grids
