#include "host/standin/StandinHost.h"

#include "host/standin/StandinDialogs.h"
#include "host/standin/StandinSession.h"
#include "standin/site/SiteDatabase.h"

namespace host::standin {

HostServices StandinHost::Services(const std::filesystem::path& sharedData,
                                   erp::SignonPrompt& prompt, erp::ErrorDisplay& display,
                                   std::string commandLine, host::CompanyAccess access) {
  return StandinHostServices(sharedData, prompt, display, std::move(commandLine), access);
}

namespace {

/// Hands the stand-in's sign-on the credentials of a host prompt.
class CredentialsSignonPrompt : public erp::SignonPrompt {
 public:
  explicit CredentialsSignonPrompt(host::CredentialsPrompt& prompt) : prompt_(prompt) {}
  std::optional<erp::Credentials> ask(const std::string& message) override {
    std::optional<SignonCredentials> answer = prompt_.Ask(message);
    if (!answer) return std::nullopt;
    return erp::Credentials{answer->userId, answer->password, answer->company};
  }

 private:
  host::CredentialsPrompt& prompt_;
};

}  // namespace

HostServices StandinHost::Services(const std::filesystem::path& sharedData,
                                   host::CredentialsPrompt& prompt, erp::ErrorDisplay& display,
                                   std::string commandLine, host::CompanyAccess access) {
  // The session managers refer to the adapter, which the services keep alive.
  auto adapter = std::make_shared<CredentialsSignonPrompt>(prompt);
  HostServices services =
      StandinHostServices(sharedData, *adapter, display, std::move(commandLine), access);
  services.newSessionManager = [inner = std::move(services.newSessionManager), adapter] {
    return inner();
  };
  return services;
}

HostServices StandinHost::Services(const std::filesystem::path& sharedData,
                                   host::SignonDialog& dialog, host::ErrorListView& view,
                                   std::string commandLine) {
  return StandinDialogServices(sharedData, dialog, view, std::move(commandLine));
}

std::vector<std::string> StandinHost::CompaniesOf(const std::filesystem::path& sharedData,
                                                  const std::string& user) {
  std::vector<std::string> companies;
  try {
    const erp::SiteDatabase site{erp::SiteLayout(sharedData), erp::SiteAccess::ReadOnly};
    for (const erp::CompanyEntry& entry : site.companies()) {
      if (site.mayUseCompany(user, entry.orgId)) companies.push_back(entry.orgId);
    }
  } catch (const std::exception&) {
    // A site that cannot be read lists no company; the plan then says it has none to run on.
  }
  return companies;
}

}  // namespace host::standin
