#include "gui/controls/QtNotifier.h"

#include "gui/controls/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

namespace gui::controls {
namespace {

/// The message wraps at about this many characters, as a message box's does.
constexpr int kMessageChars = 60;

}  // namespace

CannotOpenDialog::CannotOpenDialog(const std::string& title, const std::string& text,
                                   const std::string& target, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(ToQt(title));
  auto* icon = new QLabel(this);
  const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()
                      ->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this)
                      .pixmap(iconSize, iconSize));
  icon->setAlignment(Qt::AlignTop);
  message_ = new QLabel(ToQt(text), this);
  message_->setWordWrap(true);
  message_->setMinimumWidth(fontMetrics().averageCharWidth() * kMessageChars);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  target_ = new QLineEdit(ToQt(target), this);
  target_->setReadOnly(true);
  target_->setCursorPosition(0);
  // The whole path shows, however long, as far as the screen allows.
  target_->setMinimumWidth(std::min(target_->fontMetrics().horizontalAdvance(target_->text()) + 16,
                                    fontMetrics().averageCharWidth() * kMessageChars * 2));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  copy_ = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
  // Copying is the reason for this box, but it must not close it: the operator may want to read
  // the path again, and OK stays the default.
  copy_->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(copy_, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(target_->text()); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 2, 1);
  layout->addWidget(message_, 0, 1);
  layout->addWidget(target_, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  buttons->button(QDialogButtonBox::Ok)->setFocus();
}

void QtNotifier::Critical(const std::string& text) {
  QMessageBox::critical(parent_, ToQt(title_), ToQt(text));
}

void QtNotifier::CannotOpen(const std::string& text, const std::string& target) {
  CannotOpenDialog dialog(title_, text, target, parent_);
  dialog.exec();
}

}  // namespace gui::controls
