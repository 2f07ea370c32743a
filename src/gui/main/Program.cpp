#include "gui/main/Program.h"

#include "app/Layout.h"
#include "gui/controls/QtText.h"
#include "gui/help/UserGuide.h"
#include "gui/resources/ProgramIcon.h"

#include <QMessageBox>

#include <filesystem>

namespace gui {

void QtNotifier::critical(const std::string& text) {
  QMessageBox::critical(nullptr, QString::fromLatin1(app::kProgramTitle), controls::ToQt(text));
}

Program::Program(std::string commandLine, HelpHooks hooks, std::optional<WebApiChoice> webApi)
    : commandLine_(std::move(commandLine)), hooks_(std::move(hooks)) {
  if (webApi) {
    webApi_ = std::make_unique<host::webapi::WebApiHost>(webApi->settings, webApi->overrides);
  }
}

Program::~Program() {
  window_.reset();
  services_.reset();
  if (form_) form_->Unload();
}

bool Program::Start() {
  ConnectHelp();
  host::DataSourceFactory& dataSources = webApi_ ? webApi_->DataSources() : standin_.DataSources();
  host::HostServices host;
  std::function<host::AccpacPaths()> readPaths;
  if (webApi_) {
    host = webApi_->Services(signon_, errorView_);
  } else {
    host = standin_.Services(standin_.ReadPaths(notifier_).SharedDataPath(), signon_, errorView_,
                             commandLine_);
    readPaths = [this] { return standin_.ReadPaths(notifier_); };
  }
  form_ = std::make_unique<app::Form1>(app::Form1Services{
      .host = std::move(host),
      .readPaths = std::move(readPaths),
      .dataSources = dataSources,
      .messages = messages_,
      .shell = shell_,
      .notifier = notifier_,
      .pump = pump_,
      .filterWindow = filterWindow_,
      .programFolder = std::filesystem::canonical("/proc/self/exe").parent_path().string(),
      .about = &about_->Services(),
      .showAbout =
          [this](about::frmAbout& window) { ShowAboutWindow(window, *about_, window_.get()); },
  });
  if (!form_->Load()) return false;
  services_ = std::make_unique<controls::ControlServices>(*form_->Connection(), dataSources);
  window_ = std::make_unique<MainWindow>(*form_, *services_, hooks_);
  // From now on the dialogs belong to the main window, centred over it and modal to it.
  messages_ = controls::QtMessageBoxes(window_.get());
  errorView_ = controls::QtErrorListView(window_.get());
  filterWindow_ = controls::QtFilterWindow(window_.get());
  filterWindow_.SetServices(services_.get());
  window_->setWindowIcon(ProgramIcon());
  window_->show();
  return true;
}

void Program::ConnectHelp() {
  about_ = std::make_unique<AboutWindowServices>([this] { return standin_.ReadPaths(notifier_); },
                                                 standin_.Registry(), desktopShell_, notifier_);
  if (!hooks_.userGuide) {
    const std::string programFolder =
        std::filesystem::canonical("/proc/self/exe").parent_path().string();
    hooks_.userGuide = [this, programFolder] {
      OpenUserGuide(desktopShell_, notifier_, programFolder);
    };
  }
}

}  // namespace gui
