#pragma once

#include "convert/ConversionEngine.h"
#include "convert/KindControls.h"
#include "convert/KindTable.h"
#include "host/DataSource.h"

#include <string>

namespace convert {

/// The item number field of the items view, as the ERP keeps it.
inline constexpr int kItemNumberField = 1;

/// The item number in the ERP's unformatted form, as the items view's key field makes it when it
/// verifies the text; the empty text stays empty.
std::string UnformatItemNumber(host::DataSource& adsICITEM, const std::string& text);

/// The kind's filter from the current values of its controls: one condition per table entry,
/// each value escaped and quoted, joined by " AND ".
std::string BuildKindFilter(const KindDef& target, KindControls& controls);

/// Binds a tax-group kind's from and to grids to its header, sets its filter and field positions,
/// starts its log with the range lines and converts its records.
void RunTaxGroupTarget(const KindDef& target, KindControls& controls, ConversionEngine& engine);

/// Binds a tax-authority kind's grid to its header and detail, sets its filter and field
/// positions, starts its log with the range lines and applies the grid's operations.
void RunTaxAuthorityTarget(const KindDef& target, KindControls& controls, ConversionEngine& engine);

/// Runs the kind's target procedure, whichever record conversion it uses.
void RunTarget(const KindDef& target, KindControls& controls, ConversionEngine& engine);

}  // namespace convert
