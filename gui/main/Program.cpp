#include "gui/main/Program.h"

#include "app/Layout.h"
#include "gui/controls/QtText.h"

#include <QMessageBox>

#include <filesystem>

namespace gui {

void QtNotifier::critical(const std::string& text) {
  QMessageBox::critical(nullptr, QString::fromLatin1(app::kProgramTitle), controls::ToQt(text));
}

Program::Program(std::string commandLine, HelpHooks hooks)
    : commandLine_(std::move(commandLine)), hooks_(std::move(hooks)) {}

Program::~Program() {
  window_.reset();
  services_.reset();
  if (form_) form_->Unload();
}

bool Program::Start() {
  const std::string sharedData = standin_.ReadPaths(notifier_).SharedDataPath();
  form_ = std::make_unique<app::Form1>(app::Form1Services{
      .host = standin_.Services(sharedData, signon_, errorView_, commandLine_),
      .readPaths = [this] { return standin_.ReadPaths(notifier_); },
      .dataSources = standin_.DataSources(),
      .messages = messages_,
      .shell = shell_,
      .notifier = notifier_,
      .pump = pump_,
      .filterWindow = filterWindow_,
      .programFolder = std::filesystem::canonical("/proc/self/exe").parent_path().string(),
  });
  if (!form_->Load()) return false;
  services_ =
      std::make_unique<controls::ControlServices>(*form_->Connection(), standin_.DataSources());
  window_ = std::make_unique<MainWindow>(*form_, *services_, hooks_);
  // From now on the dialogs belong to the main window, centred over it and modal to it.
  messages_ = controls::QtMessageBoxes(window_.get());
  errorView_ = controls::QtErrorListView(window_.get());
  filterWindow_ = controls::QtFilterWindow(window_.get());
  filterWindow_.SetServices(services_.get());
  window_->show();
  return true;
}

}  // namespace gui
