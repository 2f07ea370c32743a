#pragma once

#include "host/AccpacConnection.h"
#include "host/AccpacPaths.h"
#include "host/MessageBoxes.h"

#include <cstdint>
#include <functional>

namespace convert {

/// The program's title.
inline constexpr const char* kProgramTitle = "Ordavel";
/// The program identifier given to the sign-on.
inline constexpr const char* kProgramId = "ZX1000";
/// The application code of Tax Services.
inline constexpr const char* kTaxServicesCode = "TX";

/// True when the ERP's site configuration of the installation at `paths` can be opened and read.
bool SiteConfigurationReadable(const host::AccpacPaths& paths);
/// Tells the operator that the site configuration cannot be read, which ends the program.
void ReportNoSiteConfiguration(host::MessageBoxes& messages);
/// Tells the operator that the ERP is not installed, which ends the program.
void ReportNotInstalled(host::MessageBoxes& messages);
/// Signs on with the program's identifier; false, signed off again, when the operator
/// cancelled the sign-on or it failed.
bool Logon(host::AccpacConnection& connection, std::int32_t hWnd);
/// Whether Tax Services is active for the signed-on company; when it is not, or the company's
/// database cannot tell, the reason is shown from the error list.
bool TaxServicesActive(host::AccpacConnection& connection);

/// Signs on to a company as start-up does, step by step with its messages: the site
/// configuration readable, the ERP installed, the sign-on accepted, Tax Services active. False,
/// signed off, when a step fails. Without `readPaths` (a backend without a local installation)
/// the first two steps are skipped.
bool SignOn(host::AccpacConnection& connection, const std::function<host::AccpacPaths()>& readPaths,
            host::MessageBoxes& messages);

}  // namespace convert
