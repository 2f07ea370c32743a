// Draws the About window to PNG files, on a temporary stand-in installation whose registered
// client name starts with two blanks, and without a display:
//
//   about_screenshots [FOLDER]      (default build/screenshots)

#include "gui/about/AboutDialog.h"
#include "gui/controls/tools/ScreenshotTool.h"
#include "gui/controls/tools/WindowComposer.h"

#include "standin/runtime/Installation.h"
#include "standin/site/RegistryStore.h"
#include "standin/site/SiteDatabase.h"

#include <QApplication>
#include <QCursor>

#include <unistd.h>

#include <filesystem>
#include <iostream>

namespace {

namespace fs = std::filesystem;

class NoShell : public util::Shell {
 public:
  int Open(const std::string&) override { return 42; }
  bool Explore(const std::string&) override { return true; }
};

class ErrorStream : public util::Notifier {
 public:
  void Critical(const std::string& text) override { std::cerr << text << '\n'; }
};

/// An ERP installation in the temp folder, removed afterwards.
class TemporaryInstallation {
 public:
  TemporaryInstallation()
      : folder_(fs::temp_directory_path() / ("ordavel-about-" + std::to_string(::getpid()))),
        registry_(folder_ / "registry") {
    const fs::path sharedData = folder_ / "SharedData";
    fs::create_directories(sharedData);
    const erp::SiteLayout layout(sharedData);
    erp::SiteDatabase::create(layout);
    erp::SiteDatabase(layout).setSiteRecord({"", "SAMPLE-CLIENT-0001", "  Sample Company Limited",
                                             "Northbridge Business Systems", "", ""});
    erp::RuntimeOptions options;
    options.libraryFolder = ORDAVEL_RUNTIME_LIBRARIES;
    erp::installStandinRuntime(folder_ / "Programs", sharedData, registry_, options);
  }
  ~TemporaryInstallation() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  TemporaryInstallation(const TemporaryInstallation&) = delete;
  TemporaryInstallation& operator=(const TemporaryInstallation&) = delete;

  erp::RegistryStore& Registry() { return registry_; }

 private:
  fs::path folder_;
  erp::RegistryStore registry_;
};

void Settle() {
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
}

void Save(QWidget& window, const fs::path& file) {
  if (!gui::controls::tools::ComposeWindows({&window}).save(QString::fromStdString(file))) {
    throw std::runtime_error("cannot write " + file.string());
  }
  std::cout << file.string() << '\n';
}

void AboutWithBlankWarning(const fs::path& folder) {
  TemporaryInstallation installation;
  NoShell shell;
  ErrorStream notifier;
  gui::AboutWindowServices services(
      [&] { return host::AccpacPaths(installation.Registry(), notifier); }, installation.Registry(),
      shell, notifier);
  about::frmAbout window(services.Services());
  window.Form_Load();
  gui::AboutDialog dialog(window, services);
  dialog.move(40, 60);
  dialog.show();
  Settle();
  // The pointer rests on the home page link, which is underlined for it.
  QWidget* link = dialog.findChild<QWidget*>(QStringLiteral("txtHomePage"));
  QCursor::setPos(link->mapToGlobal(link->rect().center()));
  Settle();
  Save(dialog, folder / "about-blank-warning.png");
}

}  // namespace

int main(int argc, char** argv) {
  return gui::controls::tools::RunScreenshotTool(argc, argv, "about_screenshots",
                                                 AboutWithBlankWarning);
}
