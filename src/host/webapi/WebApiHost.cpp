#include "host/webapi/WebApiHost.h"

#include "host/DesktopLibrary.h"

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace host::webapi {
namespace {

/// There is no ERP desktop beside a Web API server to link windows to.
class NoDesktop : public DesktopLibrary {
 public:
  std::int32_t rotoCall(const DesktopLinkRecord&) override { return 1; }
};

}  // namespace

WebApiHost::WebApiHost(WebApiSettings settings, const MapOverrides& overrides)
    : settings_(std::move(settings)), maps_(overrides), dataSources_(maps_) {}

HostServices WebApiHost::ServicesAsking(CredentialsAsker ask, ErrorListView& view,
                                        host::CompanyAccess access) {
  HostServices services;
  services.newSessionManager = [this, ask = std::move(ask), &view, access] {
    return std::make_unique<WebApiSessionManager>(settings_, maps_, ask, view, access);
  };
  services.newErrorDisplay = [&view] { return std::make_unique<WebApiErrorDisplay>(view); };
  services.desktopLibrary = std::make_shared<NoDesktop>();
  services.commandLine = [] { return std::string(); };
  return services;
}

HostServices WebApiHost::Services(CredentialsPrompt& prompt, ErrorListView& view,
                                  host::CompanyAccess access) {
  return ServicesAsking(
      [&prompt](const std::string& refusal, SignonField) { return prompt.Ask(refusal); }, view,
      access);
}

HostServices WebApiHost::Services(SignonDialog& dialog, ErrorListView& view) {
  return ServicesAsking(
      [&dialog](const std::string& refusal, SignonField fault) {
        // The Web API names no companies; the operator types the company's ID.
        return dialog.Ask(SignonRequest{{}, refusal, fault});
      },
      view, host::CompanyAccess::ReadWrite);
}

std::filesystem::path DefaultLogRoot(const WebApiAddress& address) {
  std::filesystem::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    data = std::filesystem::path(home) / ".local" / "share";
  } else {
    throw std::runtime_error(
        "There is no home folder for the conversion logs; give a folder with --log-folder.");
  }
  return data / "ordavel" / "web-api" / address.FolderName();
}

}  // namespace host::webapi
