#pragma once

#include "about/frmAbout.h"
#include "gui/about/QtLinkTimer.h"
#include "gui/about/QtPointerPosition.h"
#include "host/AccpacPaths.h"
#include "platform/Registry.h"
#include "util/Shell.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

class QWidget;

namespace gui {

/// The build and ERP version texts of the installation as it is when the About window loads.
class InstallationVersionTexts : public about::VersionTexts {
 public:
  /// `readPaths` reads the installation's folders anew at each call.
  InstallationVersionTexts(std::function<host::AccpacPaths()> readPaths,
                           platform::Registry& registry)
      : readPaths_(std::move(readPaths)), registry_(registry) {}
  std::string ProgramBuild() override;
  std::string SystemManagerVersion() override;

 private:
  std::function<host::AccpacPaths()> readPaths_;
  platform::Registry& registry_;
};

/// The site's client as the installation's site configuration holds it when the window loads.
class InstallationSiteReader : public about::SiteConfigurationReader {
 public:
  /// `readPaths` reads the installation's folders anew at each call.
  explicit InstallationSiteReader(std::function<host::AccpacPaths()> readPaths)
      : readPaths_(std::move(readPaths)) {}
  std::optional<about::SiteClient> ReadSiteClient() override;

 private:
  std::function<host::AccpacPaths()> readPaths_;
};

/// What the About window reads and uses, for the whole life of the main window: the program's
/// build and the ERP's version, the site's client, the pointer, the two link timers, the shell
/// that opens the links and the notifier that tells when it cannot. The installation is read
/// when a window loads, so the services can be made before the main window's start-up.
class AboutWindowServices {
 public:
  /// Services on the installation that `readPaths` reads (as the main window's own services
  /// do), whose edition is in `registry`; `registry`, `shell` and `notifier` must outlive them.
  AboutWindowServices(std::function<host::AccpacPaths()> readPaths, platform::Registry& registry,
                      util::Shell& shell, util::Notifier& notifier);
  AboutWindowServices(const AboutWindowServices&) = delete;
  AboutWindowServices& operator=(const AboutWindowServices&) = delete;

  /// What the About window's model is built from (the main window's services point at it).
  const about::AboutServices& Services() const { return services_; }
  QtLinkTimer& TimerHomePage() { return timerHomePage_; }
  QtLinkTimer& TimerLatestVersion() { return timerLatestVersion_; }
  QtPointerPosition& Pointer() { return pointer_; }

 private:
  InstallationVersionTexts versions_;
  InstallationSiteReader site_;
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
