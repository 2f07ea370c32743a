#include "host/standin/StandinHost.h"

#include "host/standin/StandinDialogs.h"
#include "host/standin/StandinSession.h"

namespace host::standin {

HostServices StandinHost::Services(const std::filesystem::path& sharedData,
                                   erp::SignonPrompt& prompt, erp::ErrorDisplay& display,
                                   std::string commandLine, host::CompanyAccess access) {
  return StandinHostServices(sharedData, prompt, display, std::move(commandLine), access);
}

HostServices StandinHost::Services(const std::filesystem::path& sharedData,
                                   host::SignonDialog& dialog, host::ErrorListView& view,
                                   std::string commandLine) {
  return StandinDialogServices(sharedData, dialog, view, std::move(commandLine));
}

}  // namespace host::standin
