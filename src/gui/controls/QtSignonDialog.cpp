#include "gui/controls/QtSignonDialog.h"

#include "gui/controls/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

namespace gui::controls {
namespace {

/// The longest user ID the ERP keeps.
constexpr int kUserIdLength = 8;
constexpr const char* kUserKey = "signon/user";
constexpr const char* kCompanyKey = "signon/company";

}  // namespace

QString DefaultSignonSettingsFile() {
  QString folder = qEnvironmentVariable("ORDAVEL_CONFIG_HOME");
  if (folder.isEmpty()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  }
  return folder + QStringLiteral("/Ordavel/signon.ini");
}

QtSignonDialog::QtSignonDialog(QWidget* parent, QString settingsFile)
    : QDialog(parent), settingsFile_(std::move(settingsFile)) {
  setWindowTitle(tr("Sign On"));
  userId_ = new QLineEdit(this);
  userId_->setMaxLength(kUserIdLength);
  password_ = new QLineEdit(this);
  password_->setEchoMode(QLineEdit::Password);
  company_ = new QComboBox(this);
  company_->setSizeAdjustPolicy(QComboBox::AdjustToContents);

  auto* form = new QFormLayout;
  form->addRow(tr("&User ID:"), userId_);
  form->addRow(tr("&Password:"), password_);
  form->addRow(tr("&Company:"), company_);

  refusalIcon_ = new QLabel(this);
  const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  refusalIcon_->setPixmap(style()
                              ->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this)
                              .pixmap(iconSize, iconSize));
  refusalIcon_->setAlignment(Qt::AlignTop);
  refusal_ = new QLabel(this);
  refusal_->setWordWrap(true);
  auto* refusalRow = new QHBoxLayout;
  refusalRow->addWidget(refusalIcon_);
  refusalRow->addWidget(refusal_, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(refusalRow);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  refusalIcon_->hide();
  refusal_->hide();
  setMinimumWidth(fontMetrics().averageCharWidth() * 48);

  const QSettings remembered(settingsFile_, QSettings::IniFormat);
  userId_->setText(remembered.value(kUserKey).toString().left(kUserIdLength));
  rememberedCompany_ = remembered.value(kCompanyKey).toString();
}

void QtSignonDialog::Remember() const {
  QSettings settings(settingsFile_, QSettings::IniFormat);
  const host::SignonCredentials entered = Entered();
  settings.setValue(kUserKey, ToQt(entered.userId));
  settings.setValue(kCompanyKey, ToQt(entered.company));
}

void QtSignonDialog::ShowCompanies(const std::vector<host::SignonCompany>& companies) {
  // The first time, the company of the last sign-on is chosen, not the first of the list.
  const bool first = company_->count() == 0 && company_->currentText().isEmpty();
  const QVariant chosen = first ? QVariant(rememberedCompany_) : company_->currentData();
  const QString typed = first ? rememberedCompany_ : company_->currentText();
  // A server that names no companies (the Web API) has the operator type the company's ID.
  company_->setEditable(companies.empty());
  company_->clear();
  if (companies.empty()) company_->setEditText(typed);
  for (const host::SignonCompany& company : companies) {
    company_->addItem(ToQt(company.id + " - " + company.name), ToQt(company.id));
  }
  const int again = company_->findData(chosen);
  if (again >= 0) company_->setCurrentIndex(again);
}

QWidget& QtSignonDialog::FieldAt(host::SignonField field) const {
  switch (field) {
    case host::SignonField::Password:
      return *password_;
    case host::SignonField::Company:
      return *company_;
    case host::SignonField::UserID:
      return *userId_;
    case host::SignonField::None:
      break;
  }
  return userId_->text().isEmpty() ? *userId_ : *password_;
}

void QtSignonDialog::Present(const host::SignonRequest& request) {
  ShowCompanies(request.companies);
  const bool refused = !request.refusal.empty();
  refusal_->setText(ToQt(request.refusal));
  refusal_->setVisible(refused);
  refusalIcon_->setVisible(refused);
  QWidget& field = FieldAt(request.fault);
  field.setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(&field)) edit->selectAll();
}

host::SignonCredentials QtSignonDialog::Entered() const {
  const QVariant chosen = company_->currentData();
  return {FromQt(userId_->text()), FromQt(password_->text()),
          FromQt(chosen.isValid() ? chosen.toString() : company_->currentText())};
}

std::optional<host::SignonCredentials> QtSignonDialog::Ask(const host::SignonRequest& request) {
  asked_ = true;
  Present(request);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Entered();
}

}  // namespace gui::controls
