#include "batch/JobSession.h"

#include "convert/Startup.h"

namespace batch {

void ConsoleMessages::Show(const std::string& text, const std::string&, host::MessageIcon) {
  out_ << text << '\n';
}

bool ConsoleMessages::AskYesNo(const std::string& text, const std::string&, host::MessageIcon) {
  out_ << text << '\n';
  return false;
}

JobSession::JobSession(Workstation& station, const std::string& user, const std::string& company,
                       host::CompanyAccess access)
    : station_(station),
      prompt_(user, company, station.password, station.errors),
      connection_(std::make_unique<host::AccpacConnection>(station.services(prompt_, access))) {}

JobSession::~JobSession() {
  connection_->Logoff();
}

bool JobSession::Load() {
  return convert::SignOn(*connection_, station_.readPaths, station_.messages);
}

}  // namespace batch
