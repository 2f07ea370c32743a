#include "gui/about/AboutWindow.h"

#include "about/HostSources.h"
#include "gui/about/AboutDialog.h"
#include "host/VersionInfo.h"

#include <utility>

namespace gui {

std::string InstallationVersionTexts::ProgramBuild() {
  return host::GetProgramBuild();
}

std::string InstallationVersionTexts::SystemManagerVersion() {
  const host::AccpacPaths paths = readPaths_();
  return about::HostVersionTexts(paths, registry_).SystemManagerVersion();
}

std::optional<about::SiteClient> InstallationSiteReader::ReadSiteClient() {
  const host::AccpacPaths paths = readPaths_();
  return about::AccpacSiteConfigurationReader(paths).ReadSiteClient();
}

AboutWindowServices::AboutWindowServices(std::function<host::AccpacPaths()> readPaths,
                                         platform::Registry& registry, util::Shell& shell,
                                         util::Notifier& notifier)
    : versions_(readPaths, registry),
      site_(std::move(readPaths)),
      services_{versions_, site_, pointer_, timerHomePage_, timerLatestVersion_, shell, notifier} {}

void ShowAboutWindow(about::frmAbout& window, AboutWindowServices& services, QWidget* parent) {
  AboutDialog dialog(window, services, parent);
  dialog.exec();
}

void ShowAboutWindow(AboutWindowServices& services, QWidget* parent) {
  about::frmAbout window(services.Services());
  window.Form_Load();
  ShowAboutWindow(window, services, parent);
}

}  // namespace gui
