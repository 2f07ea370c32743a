#include "gui/about/AboutWindow.h"

#include "gui/about/AboutDialog.h"

#include <utility>

namespace gui {

AboutWindowServices::AboutWindowServices(host::AccpacPaths paths, platform::Registry& registry,
                                         util::Shell& shell, util::Notifier& notifier)
    : paths_(std::move(paths)),
      versions_(paths_, registry),
      site_(paths_),
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
