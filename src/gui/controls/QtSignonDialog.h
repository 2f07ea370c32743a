#pragma once

#include "host/SignonDialog.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace gui::controls {

/// The ERP's sign-on dialog: user ID, password and the company, chosen from the site's
/// companies shown with their names. After a refusal it shows the ERP's message, keeps what was
/// typed and puts the focus on the field at fault.
class QtSignonDialog : public QDialog, public host::SignonDialog {
 public:
  explicit QtSignonDialog(QWidget* parent = nullptr);

  /// Shows `request` and waits for the operator: the credentials, or nothing when cancelled.
  std::optional<host::SignonCredentials> Ask(const host::SignonRequest& request) override;
  /// Shows `request` (companies, refusal, focus) without waiting.
  void Present(const host::SignonRequest& request);
  /// What the dialog holds now.
  host::SignonCredentials Entered() const;

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
};

}  // namespace gui::controls
