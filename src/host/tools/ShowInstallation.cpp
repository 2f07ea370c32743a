#include "host/AccpacPaths.h"
#include "host/AccpacSiteCnfg.h"
#include "host/VersionInfo.h"
#include "host/standin/StandinHost.h"
#include "util/Shell.h"

#include <iostream>

namespace {

class ErrorStream : public util::Notifier {
 public:
  void Critical(const std::string& text) override { std::cerr << "Ordavel: " << text << '\n'; }
};

}  // namespace

// Prints what the About window shows of the installation that ORDAVEL_REGISTRY describes.
int main() {
  host::standin::StandinHost standin;
  ErrorStream errors;
  const host::AccpacPaths paths = standin.ReadPaths(errors);
  std::cout << "Registry:        " << standin.RegistryFile().string() << '\n'
            << "Installed:       " << (paths.Installed() ? "yes" : "no") << '\n'
            << "Programs:        " << paths.ProgramsPath() << '\n'
            << "Shared data:     " << paths.SharedDataPath() << '\n'
            << "System Manager:  " << host::GetSystemManagerVersion(paths, standin.Registry())
            << '\n'
            << "Program build:   " << host::GetProgramBuild() << '\n';

  host::AccpacSiteCnfg site(paths);
  if (!site.OPEN_()) {
    std::cout << "Site configuration: cannot be opened (error " << site.LastError() << ")\n";
    return 1;
  }
  site.OrgID("");
  if (!site.Get_()) {
    std::cout << "Site configuration: cannot be read (error " << site.LastError() << ")\n";
    return 1;
  }
  std::cout << "Client ID:       " << site.ClientID() << '\n'
            << "Client name:     " << site.ClientName() << '\n';
  site.CLOSE_();
  return 0;
}
