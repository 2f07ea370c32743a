#include "erp/site/RegistryStore.h"
#include "host/AccpacPaths.h"
#include "host/AccpacSiteCnfg.h"
#include "host/VersionInfo.h"
#include "util/Shell.h"

#include <iostream>

namespace {

class ErrorStream : public util::Notifier {
 public:
  void critical(const std::string& text) override { std::cerr << "Ordavel: " << text << '\n'; }
};

}  // namespace

// Prints what the About window shows of the installation that ORDAVEL_REGISTRY describes.
int main() {
  erp::RegistryStore registry;
  ErrorStream errors;
  const host::AccpacPaths paths(registry, errors);
  std::cout << "Registry:        " << registry.file().string() << '\n'
            << "Installed:       " << (paths.Installed() ? "yes" : "no") << '\n'
            << "Programs:        " << paths.ProgramsPath() << '\n'
            << "Shared data:     " << paths.SharedDataPath() << '\n'
            << "System Manager:  " << host::GetSystemManagerVersion(paths, registry) << '\n'
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
