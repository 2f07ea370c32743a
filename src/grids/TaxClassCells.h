#pragma once

#include "grids/ClassField.h"

#include "host/DataSource.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/GridControl.h"

#include <functional>
#include <string>

namespace grids {

/// Fields of the tax classes view.
inline constexpr int kClassAuthorityField = 1;
inline constexpr int kClassTypeField = 2;
inline constexpr int kClassAxisField = 3;
inline constexpr int kClassField = 4;

/// The finder filter of a class cell: the classes of the authority, class type and axis.
std::string TaxClassFinderFilter(const std::string& authority, const ClassField& column);

/// Points a class cell's finder at the classes of the row's authority, starting at the class the
/// editor holds.
void SetTaxClassFinder(host::FieldEditControl& editor, const std::string& authority,
                       const ClassField& column);

/// Sets a class cell's editor up: number format, finder and a field defined like the class field
/// of `adsTXCLASS` holding the cell's value.
void PrepareTaxClassEditor(host::FieldEditControl& editor, const std::string& cell,
                           host::DataSource& adsTXCLASS);

/// The browse filter of the classes of an authority, class type and axis.
std::string DefaultTaxClassFilter(const std::string& authority, const ClassField& column);

/// The lowest class of the authority, class type and axis, or the empty text when it has none.
std::string LowestTaxClass(host::DataSource& adsTXCLASS, const std::string& authority,
                           const ClassField& column);

/// Checks the class a closed editor holds against the tax classes view: found, the edit ends and
/// the cell takes the class; not found, `refuse` gets the message and the cell gets `lastValue`
/// back. A host error ends the check silently.
void ValidateTaxClassCell(host::GridControl& grid, int column, int row,
                          const std::string& authority, const ClassField& classField,
                          const host::FieldEditControl& editor, host::DataSource& adsTXCLASS,
                          const std::string& lastValue,
                          const std::function<void(const std::string&)>& refuse);

}  // namespace grids
