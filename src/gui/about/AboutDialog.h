#pragma once

#include "about/frmAbout.h"
#include "gui/about/AboutWindow.h"
#include "host/Signal.h"

#include <QDialog>

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gui {

class LinkLabel;

/// The About window drawn from its model: the product frame with the icon, the build, the ERP's
/// version and the site's client in read-only boxes, the legal notice (or, in red, the warning
/// about the client name), the two links and OK. Each widget carries its control's name. OK,
/// Escape and the close box all close it through the model's OK.
class AboutDialog : public QDialog {
 public:
  /// `window` and `services` must outlive the dialog.
  AboutDialog(about::frmAbout& window, AboutWindowServices& services, QWidget* parent = nullptr);
  ~AboutDialog() override;

  /// Closes the window as OK does.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QGroupBox* BuildProductFrame();
  QLayout* BuildLinkRow();
  void ConnectModel();
  void ConnectTimers();
  void ShowTexts();
  void ShowCopyrightColor();

  about::frmAbout& window_;
  AboutWindowServices& services_;
  QGroupBox* frmProduct_ = nullptr;
  QLabel* lblBuildNumber_ = nullptr;
  QLineEdit* txtSystemManagerVersion_ = nullptr;
  QLineEdit* txtCompany_ = nullptr;
  QLineEdit* txtClientID_ = nullptr;
  QLabel* lblCopyright_ = nullptr;
  LinkLabel* txtHomePage_ = nullptr;
  LinkLabel* txtLatestVersion_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui
