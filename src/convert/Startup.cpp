#include "convert/Startup.h"

#include "convert/KindControlSet.h"
#include "host/AccpacSiteCnfg.h"
#include "host/HostError.h"

#include <string>

namespace convert {

bool SiteConfigurationReadable(const host::AccpacPaths& paths) {
  try {
    host::AccpacSiteCnfg config(paths);
    if (!config.OPEN_()) return false;
    config.OrgID("");
    const bool read = config.Get_();
    config.CLOSE_();
    return read;
  } catch (const std::exception&) {
    return false;
  }
}

void ReportNoSiteConfiguration(host::MessageBoxes& messages) {
  messages.Show(std::string("You do not have access to the Sage 300 shared data folder, which is "
                            "required, to run ") +
                    kProgramTitle + ".",
                kProgramTitle, host::MessageIcon::None);
}

void ReportNotInstalled(host::MessageBoxes& messages) {
  messages.Show("Sage Accpac is not installed.", kProgramTitle, host::MessageIcon::Critical);
}

bool Logon(host::AccpacConnection& connection, std::int32_t hWnd) {
  bool signedOn = false;
  try {
    signedOn = connection.Logon(kProgramId, hWnd);
  } catch (const host::HostError&) {
    signedOn = false;
  }
  if (!signedOn) connection.Logoff();
  return signedOn;
}

bool TaxServicesActive(host::AccpacConnection& connection) {
  try {
    if (IsModuleActive(connection, kTaxServicesCode)) return true;
    connection.PutError("Incorrect procedure. Tax Services is not active for this company.");
  } catch (const std::exception& error) {
    // The company's database cannot be reached (a full disk, a missing file): the operator
    // must see why, not a general failure.
    connection.PutError(error.what());
  }
  connection.ShowErrors();
  return false;
}

bool SignOn(host::AccpacConnection& connection, const std::function<host::AccpacPaths()>& readPaths,
            host::MessageBoxes& messages) {
  // A backend without a local installation has nothing of it to check: its sign-on proves that
  // the server lets the operator in.
  if (readPaths && !SiteConfigurationReadable(readPaths())) {
    ReportNoSiteConfiguration(messages);
    return false;
  }
  if (readPaths && !readPaths().Installed()) {
    ReportNotInstalled(messages);
    return false;
  }
  if (!Logon(connection, 0)) return false;
  if (!TaxServicesActive(connection)) {
    connection.Logoff();
    return false;
  }
  return true;
}

}  // namespace convert
