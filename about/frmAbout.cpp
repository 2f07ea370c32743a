#include "about/frmAbout.h"

#include "about/BlankWarning.h"
#include "about/VersionResource.h"
#include "util/Addresses.h"

#include <optional>

namespace about {
namespace {

// The About window only informs: whatever goes wrong while it is filled must not keep it from
// showing the rest.
template <typename Step>
void ignoringFailure(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

frmAbout::frmAbout(const AboutServices& services)
    : versions_(services.versions),
      site_(services.site),
      txtHomePage_(kHomePageText, util::kMakerHomePage, services.timerHomePage, services.pointer,
                   services.shell, services.notifier),
      txtLatestVersion_("", util::kProductPage, services.timerLatestVersion, services.pointer,
                        services.shell, services.notifier) {}

void frmAbout::Form_Load() {
  ignoringFailure([this] {
    txtHomePage_.useNormalFont();
    txtLatestVersion_.useNormalFont();
  });
  ignoringFailure([this] {
    frmProduct_ = kProductName;
    caption_ = std::string("About ") + kProductName;
    txtLatestVersion_.setText(std::string("The Latest ") + kProductName + " Features");
    lblCopyright_ = kLegalCopyright;
  });
  ignoringFailure([this] {
    txtSystemManagerVersion_ = versions_.systemManagerVersion();
    lblBuildNumber_ = versions_.programBuild();
  });
  ignoringFailure([this] { showSiteClient(); });
}

void frmAbout::showSiteClient() {
  std::optional<SiteClient> client;
  try {
    client = site_.readSiteClient();
  } catch (...) {
    // A reader that fails is a record that cannot be read.
  }
  if (client) {
    txtCompany_ = client->clientName;
    txtClientID_ = client->clientID;
  } else {
    txtCompany_ = kCompanyName;
    txtClientID_ = kUnknownClientID;
  }
}

void frmAbout::Form_Activate() {
  if (activated_) return;
  activated_ = true;
  // Blanks at the ends of the registered client name cannot be seen in its box, so they are
  // pointed out in place of the legal notice.
  if (auto warning = BlankWarning(lblCompany_, txtCompany_)) {
    lblCopyright_ = *warning;
    lblCopyrightForeColor_ = kRed;
  }
}

void frmAbout::cmdOK_Click() {
  closed_ = true;
  if (closeHandler_) closeHandler_();
}

}  // namespace about
