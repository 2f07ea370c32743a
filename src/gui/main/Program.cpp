#include "gui/main/Program.h"

#include "app/Layout.h"
#include "gui/controls/QtText.h"
#include "gui/help/UserGuide.h"
#include "gui/resources/ProgramIcon.h"

#include <filesystem>

namespace gui {

Program::Program(std::string commandLine, HelpHooks hooks, std::optional<WebApiChoice> webApi,
                 app::SteadyClock clock)
    : commandLine_(std::move(commandLine)),
      hooks_(std::move(hooks)),
      clock_(std::move(clock)),
      notifier_(app::kProgramTitle) {
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
  app::Form1Services services{
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
  };
  if (clock_) services.clock = clock_;
  form_ = std::make_unique<app::Form1>(std::move(services));
  if (!form_->Load()) {
    ExplainRefusedSignon();
    return false;
  }
  if (signon_.Asked()) signon_.Remember();
  services_ = std::make_unique<controls::ControlServices>(*form_->Connection(), dataSources);
  window_ = std::make_unique<MainWindow>(*form_, *services_, hooks_);
  // From now on the dialogs belong to the main window, centred over it and modal to it.
  messages_ = controls::QtMessageBoxes(window_.get());
  errorView_ = controls::QtErrorListView(window_.get());
  filterWindow_ = controls::QtFilterWindow(window_.get());
  filterWindow_.SetServices(services_.get());
  window_->setWindowIcon(ProgramIcon());
  window_->show();
  notifier_ = controls::QtNotifier(app::kProgramTitle, window_.get());
  return true;
}

void Program::ExplainRefusedSignon() {
  // Without this the program would end without a word.
  host::AccpacConnection* connection = form_->Connection();
  if (!connection || connection->SignonRefusal().empty()) return;
  const std::string& why = connection->SignonRefusal();
  // Without a handle the dialog has told of refused credentials: what is left is a host failure,
  // which names the step that failed.
  if (connection->ObjectHandle().empty()) {
    notifier_.Critical(why);
    return;
  }
  notifier_.Critical(std::string(app::kProgramTitle) + " cannot join the ERP desktop session. " +
                     why);
}

void Program::ConnectHelp() {
  about_ = std::make_unique<AboutWindowServices>([this] { return standin_.ReadPaths(notifier_); },
                                                 standin_.Registry(), shell_, notifier_);
  if (!hooks_.userGuide) {
    const std::string programFolder =
        std::filesystem::canonical("/proc/self/exe").parent_path().string();
    hooks_.userGuide = [this, programFolder] { OpenUserGuide(shell_, notifier_, programFolder); };
  }
  if (!hooks_.guideSection) {
    const std::string programFolder =
        std::filesystem::canonical("/proc/self/exe").parent_path().string();
    hooks_.guideSection = [this, programFolder](const std::string& heading) {
      OpenUserGuideAt(shell_, notifier_, programFolder, heading);
    };
  }
}

}  // namespace gui
