#pragma once

#include "about/LinkBox.h"
#include "about/Pointer.h"
#include "about/Sources.h"
#include "about/Timer.h"
#include "host/Signal.h"
#include "util/Shell.h"

#include <cstdint>
#include <functional>
#include <string>

namespace about {

/// Colour of the legal notice.
inline constexpr std::uint32_t kBlack = 0;
/// Colour of a warning about the client name.
inline constexpr std::uint32_t kRed = 255;
/// The client ID shown when the site's configuration record cannot be read.
inline constexpr const char* kUnknownClientID = "0000000000";
/// The text of the link to the maker's home page.
inline constexpr const char* kHomePageText = "Quenlix Home Page";

/// What the About window reads from and hands to the outside world.
struct AboutServices {
  VersionTexts& versions;
  SiteConfigurationReader& site;
  const PointerPosition& pointer;
  Timer& timerHomePage;
  Timer& timerLatestVersion;
  util::Shell& shell;
  util::Notifier& notifier;
};

/// The About window: the program's build, the ERP's version, the site's client and two web links.
/// Each text and colour that can change is announced by its signal when it does; the captions
/// of the three boxes never change.
class frmAbout {
 public:
  /// A window not loaded yet, with its controls as designed and both link timers stopped.
  explicit frmAbout(const AboutServices& services);
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  /// Fills the window; a step that fails is left out and the next one runs.
  void Form_Load();
  /// Warns about blanks at the ends of the client name, the first time the window is active only.
  void Form_Activate();
  /// Closes the window.
  void cmdOK_Click();
  /// Calls `handler` when the window closes.
  void SetCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }
  /// Whether the window has been closed.
  bool Closed() const { return closed_; }

  /// The window caption.
  const std::string& Caption() const { return caption_; }
  /// The caption of the product frame.
  const std::string& frmProduct() const { return frmProduct_; }
  /// The program's build.
  const std::string& lblBuildNumber() const { return lblBuildNumber_; }
  /// The caption of the ERP version box.
  const std::string& lblSystemManagerVersion() const { return lblSystemManagerVersion_; }
  /// The ERP's version.
  const std::string& txtSystemManagerVersion() const { return txtSystemManagerVersion_; }
  /// The caption of the client name box.
  const std::string& lblCompany() const { return lblCompany_; }
  /// The client name.
  const std::string& txtCompany() const { return txtCompany_; }
  /// The caption of the client ID box.
  const std::string& lblClientID() const { return lblClientID_; }
  /// The client ID.
  const std::string& txtClientID() const { return txtClientID_; }
  /// The legal notice, or the warning about the client name.
  const std::string& lblCopyright() const { return lblCopyright_; }
  /// The colour of lblCopyright: kBlack, or kRed for a warning.
  std::uint32_t lblCopyrightForeColor() const { return lblCopyrightForeColor_; }
  /// The link to the maker's home page.
  LinkBox& txtHomePage() { return txtHomePage_; }
  const LinkBox& txtHomePage() const { return txtHomePage_; }
  /// The link to the page about the latest version.
  LinkBox& txtLatestVersion() { return txtLatestVersion_; }
  const LinkBox& txtLatestVersion() const { return txtLatestVersion_; }

  host::Signal<> CaptionChanged;
  host::Signal<> frmProductChanged;
  host::Signal<> lblBuildNumberChanged;
  host::Signal<> txtSystemManagerVersionChanged;
  host::Signal<> txtCompanyChanged;
  host::Signal<> txtClientIDChanged;
  host::Signal<> lblCopyrightChanged;
  host::Signal<> lblCopyrightForeColorChanged;

 private:
  void ShowSiteClient();

  VersionTexts& versions_;
  SiteConfigurationReader& site_;
  std::string caption_;
  std::string frmProduct_;
  std::string lblBuildNumber_;
  std::string lblSystemManagerVersion_ = "System Manager Version";
  std::string txtSystemManagerVersion_;
  std::string lblCompany_ = "Company";
  std::string txtCompany_;
  std::string lblClientID_ = "Client ID";
  std::string txtClientID_;
  std::string lblCopyright_;
  std::uint32_t lblCopyrightForeColor_ = kBlack;
  LinkBox txtHomePage_;
  LinkBox txtLatestVersion_;
  bool activated_ = false;
  bool closed_ = false;
  std::function<void()> closeHandler_;
};

}  // namespace about
