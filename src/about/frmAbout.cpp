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
void IgnoringFailure(Step&& step) {
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
  IgnoringFailure([this] {
    txtHomePage_.UseNormalFont();
    txtLatestVersion_.UseNormalFont();
  });
  IgnoringFailure([this] {
    host::AssignAndNotify(frmProduct_, std::string(kProductName), frmProductChanged);
    host::AssignAndNotify(caption_, std::string("About ") + kProductName, CaptionChanged);
    txtLatestVersion_.SetText(std::string("The Latest ") + kProductName + " Features");
    host::AssignAndNotify(lblCopyright_, std::string(kLegalCopyright), lblCopyrightChanged);
  });
  IgnoringFailure([this] {
    host::AssignAndNotify(txtSystemManagerVersion_, versions_.SystemManagerVersion(),
                          txtSystemManagerVersionChanged);
    host::AssignAndNotify(lblBuildNumber_, versions_.ProgramBuild(), lblBuildNumberChanged);
  });
  IgnoringFailure([this] { ShowSiteClient(); });
}

void frmAbout::ShowSiteClient() {
  std::optional<SiteClient> client;
  try {
    client = site_.ReadSiteClient();
  } catch (...) {
    // A reader that fails is a record that cannot be read.
  }
  if (client) {
    host::AssignAndNotify(txtCompany_, client->clientName, txtCompanyChanged);
    host::AssignAndNotify(txtClientID_, client->clientID, txtClientIDChanged);
  } else {
    host::AssignAndNotify(txtCompany_, std::string(kCompanyName), txtCompanyChanged);
    host::AssignAndNotify(txtClientID_, std::string(kUnknownClientID), txtClientIDChanged);
  }
}

void frmAbout::Form_Activate() {
  if (activated_) return;
  activated_ = true;
  // Blanks at the ends of the registered client name cannot be seen in its box, so they are
  // pointed out in place of the legal notice.
  if (auto warning = BlankWarning(lblCompany_, txtCompany_)) {
    host::AssignAndNotify(lblCopyright_, *warning, lblCopyrightChanged);
    host::AssignAndNotify(lblCopyrightForeColor_, kRed, lblCopyrightForeColorChanged);
  }
}

void frmAbout::cmdOK_Click() {
  closed_ = true;
  if (closeHandler_) closeHandler_();
}

}  // namespace about
