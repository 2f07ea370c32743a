#include "host/standin/StandinDialogs.h"

#include "host/standin/StandinSession.h"

#include "standin/site/SiteDatabase.h"

#include <memory>

namespace host::standin {

SignonField RefusedField(const std::string& refusal, const erp::Credentials& refused) {
  if (refusal.empty()) return SignonField::None;
  // The stand-in gives unknown users and wrong passwords one message; the password is the
  // likelier slip unless no user was typed at all.
  if (refusal.rfind("Invalid user ID or password", 0) == 0) {
    return refused.user.empty() ? SignonField::UserID : SignonField::Password;
  }
  return SignonField::Company;
}

DialogSignonPrompt::DialogSignonPrompt(std::filesystem::path sharedData, SignonDialog& dialog)
    : layout_(std::move(sharedData)), dialog_(dialog) {}

std::vector<SignonCompany> DialogSignonPrompt::Companies() const {
  std::vector<SignonCompany> companies;
  try {
    const erp::SiteDatabase site(layout_, erp::SiteAccess::ReadOnly);
    for (const erp::CompanyEntry& entry : site.companies()) {
      companies.push_back({entry.orgId, entry.name});
    }
  } catch (const std::exception&) {
    // A site that cannot be read offers no companies; the sign-on then refuses with the reason.
  }
  return companies;
}

std::optional<erp::Credentials> DialogSignonPrompt::ask(const std::string& message) {
  SignonRequest request{Companies(), message, RefusedField(message, last_)};
  std::optional<SignonCredentials> answer = dialog_.Ask(request);
  if (!answer) return std::nullopt;
  last_ = {answer->userId, answer->password, answer->company};
  return last_;
}

void ListErrorDisplay::show(const erp::ErrorList& errors) {
  if (errors.count() == 0) return;
  std::vector<ErrorListEntry> entries;
  for (const erp::ErrorEntry& entry : errors.entries()) {
    entries.push_back({entry.priority, entry.text});
  }
  view_.Show(entries);
}

HostServices StandinDialogServices(const std::filesystem::path& sharedData, SignonDialog& dialog,
                                   ErrorListView& view, std::string commandLine) {
  auto prompt = std::make_shared<DialogSignonPrompt>(sharedData, dialog);
  auto display = std::make_shared<ListErrorDisplay>(view);
  HostServices services;
  // The session manager and the displays refer to the adapters, which the services keep alive.
  services.newSessionManager = [sharedData, prompt] {
    return std::make_unique<StandinSessionManager>(sharedData, *prompt);
  };
  services.newErrorDisplay = [display] { return std::make_unique<StandinErrorDisplay>(*display); };
  services.desktopLibrary = std::make_shared<StandinDesktopLibrary>(sharedData);
  services.commandLine = [commandLine] { return commandLine; };
  return services;
}

}  // namespace host::standin
