#pragma once

#include "host/SignonDialog.h"

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace gui::controls {

/// The file in which the sign-on dialog remembers the last user and company of the operating
/// system's user: Ordavel/signon.ini in the folder ORDAVEL_CONFIG_HOME names, else in the
/// platform's configuration folder (XDG_CONFIG_HOME, ~/.config).
QString DefaultSignonSettingsFile();

/// The ERP's sign-on dialog: user ID, password and the company, chosen from the site's
/// companies shown with their names. It starts with the user and company of the last successful
/// sign-on (never the password). After a refusal it shows the ERP's message, keeps what was
/// typed and puts the focus on the field at fault.
class QtSignonDialog : public QDialog, public host::SignonDialog {
 public:
  /// A dialog that remembers the last user and company in `settingsFile`.
  explicit QtSignonDialog(QWidget* parent = nullptr,
                          QString settingsFile = DefaultSignonSettingsFile());

  /// Shows `request` and waits for the operator: the credentials, or nothing when cancelled.
  std::optional<host::SignonCredentials> Ask(const host::SignonRequest& request) override;
  /// Shows `request` (companies, refusal, focus) without waiting.
  void Present(const host::SignonRequest& request);
  /// What the dialog holds now.
  host::SignonCredentials Entered() const;
  /// Whether the operator was asked since the dialog was made.
  bool Asked() const { return asked_; }
  /// Keeps the user and company entered for the next sign-on; called once they were taken.
  void Remember() const;

  QLineEdit& UserID() const { return *userId_; }
  QLineEdit& Password() const { return *password_; }
  QComboBox& Company() const { return *company_; }
  QLabel& Refusal() const { return *refusal_; }

 private:
  void ShowCompanies(const std::vector<host::SignonCompany>& companies);
  QWidget& FieldAt(host::SignonField field) const;

  QLineEdit* userId_ = nullptr;
  QLineEdit* password_ = nullptr;
  QComboBox* company_ = nullptr;
  QLabel* refusalIcon_ = nullptr;
  QLabel* refusal_ = nullptr;
  QString settingsFile_;
  QString rememberedCompany_;
  bool asked_ = false;
};

}  // namespace gui::controls
