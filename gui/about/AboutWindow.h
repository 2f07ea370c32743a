#pragma once

#include "about/HostSources.h"
#include "about/frmAbout.h"
#include "gui/about/QtLinkTimer.h"
#include "gui/about/QtPointerPosition.h"
#include "host/AccpacPaths.h"
#include "platform/Registry.h"
#include "util/Shell.h"

class QWidget;

namespace gui {

/// What the About window reads and uses, for the whole life of the main window: the program's
/// build and the ERP's version, the site's client, the pointer, the two link timers, the shell
/// that opens the links and the notifier that tells when it cannot.
class AboutWindowServices {
 public:
  /// Services on the installation of `paths`, whose edition is in `registry`; all but `paths`
  /// must outlive the services.
  AboutWindowServices(host::AccpacPaths paths, platform::Registry& registry, util::Shell& shell,
                      util::Notifier& notifier);
  AboutWindowServices(const AboutWindowServices&) = delete;
  AboutWindowServices& operator=(const AboutWindowServices&) = delete;

  /// What the About window's model is built from (the main window's services point at it).
  const about::AboutServices& Services() const { return services_; }
  QtLinkTimer& TimerHomePage() { return timerHomePage_; }
  QtLinkTimer& TimerLatestVersion() { return timerLatestVersion_; }
  QtPointerPosition& Pointer() { return pointer_; }

 private:
  host::AccpacPaths paths_;
  about::HostVersionTexts versions_;
  about::AccpacSiteConfigurationReader site_;
  QtPointerPosition pointer_;
  QtLinkTimer timerHomePage_;
  QtLinkTimer timerLatestVersion_;
  about::AboutServices services_;
};

/// Shows the About window `window`, already loaded, modally over `parent` and returns when it is
/// closed: what the main window's About command hands its window to.
void ShowAboutWindow(about::frmAbout& window, AboutWindowServices& services, QWidget* parent);

/// Loads an About window, shows it modally over `parent` and returns when it is closed.
void ShowAboutWindow(AboutWindowServices& services, QWidget* parent);

}  // namespace gui
