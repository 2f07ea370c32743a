#include "batch/JobWindow.h"

namespace batch {

JobWindow::JobWindow(Workstation& station, const std::string& user, const std::string& company,
                     host::CompanyAccess access)
    : interrupts_(station.interrupts), prompt_(user, company, station.password, station.errors) {
  host::HostServices host = station.services(prompt_, access);
  shown_.Attach(host);
  window_ = std::make_unique<app::Form1>(app::Form1Services{
      .host = std::move(host),
      .readPaths = station.readPaths,
      .dataSources = station.dataSources,
      .messages = station.messages,
      .shell = station.shell,
      .notifier = station.notifier,
      .pump = station.pump,
      .filterWindow = station.filterWindow,
      .programFolder = station.programFolder,
  });
}

JobWindow::~JobWindow() {
  interrupts_.OnInterrupt(nullptr);
  window_->Unload();
}

bool JobWindow::Load() {
  if (!window_->Load()) return false;
  interrupts_.OnInterrupt([this] { window_->cmdCancel().Click(); });
  return true;
}

}  // namespace batch
