#pragma once

#include "gui/main/MainWindow.h"

#include "app/Form1.h"
#include "gui/about/AboutWindow.h"
#include "gui/controls/ControlServices.h"
#include "gui/controls/ErrorListDialog.h"
#include "gui/controls/FilterWindowDialog.h"
#include "gui/controls/QtMessageBoxes.h"
#include "gui/controls/QtNotifier.h"
#include "gui/controls/QtSignonDialog.h"
#include "host/standin/StandinHost.h"
#include "host/webapi/WebApiHost.h"
#include "util/ShellHelpers.h"
#include "util/XdgShell.h"

#include <memory>
#include <optional>
#include <string>

namespace gui {

/// The ERP's Web API a program converts through, instead of the local ERP.
struct WebApiChoice {
  host::webapi::WebApiSettings settings;
  host::webapi::MapOverrides overrides{};
};

/// The desktop program: its composition root, on the stand-in ERP or on an ERP's Web API. It
/// signs on (joining the desktop session that `commandLine`'s first word names, or through the
/// sign-on dialog, which signs on to the Web API's server when there is one), runs the main
/// window's start-up and shows the window.
class Program {
 public:
  /// `commandLine` is the program's arguments joined by blanks; `webApi`, when given, the server
  /// it converts through; `clock`, when given, is the time the progress frame is redrawn by
  /// (pictures of a run in progress move it themselves).
  explicit Program(std::string commandLine, HelpHooks hooks = {},
                   std::optional<WebApiChoice> webApi = {}, app::SteadyClock clock = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  /// Runs the start-up and shows the window; false when the program ends at once. A desktop
  /// session that cannot be joined is explained to the operator first.
  bool Start();
  /// The main window once started, else nullptr.
  MainWindow* Window() const { return window_.get(); }
  app::Form1& Form() const { return *form_; }

 private:
  /// Makes the About window's services and points the Help menu's User Guide command at the
  /// guide, unless the caller gave a command of its own.
  void ConnectHelp();
  /// Tells the operator why no session could be joined, when the ERP said why.
  void ExplainRefusedSignon();

  std::string commandLine_;
  HelpHooks hooks_;
  app::SteadyClock clock_;
  host::standin::StandinHost standin_;
  std::unique_ptr<host::webapi::WebApiHost> webApi_;
  controls::QtNotifier notifier_;
  controls::QtSignonDialog signon_;
  controls::QtErrorListView errorView_;
  controls::QtMessageBoxes messages_;
  util::XdgShell xdgShell_;
  /// Every hand-off to the desktop goes through this one, so a folder no file browser can show
  /// is reported wherever it was asked for.
  util::ReportingShell shell_{xdgShell_, notifier_};
  controls::QtEventPump pump_;
  controls::QtFilterWindow filterWindow_;
  std::unique_ptr<AboutWindowServices> about_;
  std::unique_ptr<app::Form1> form_;
  std::unique_ptr<controls::ControlServices> services_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace gui
