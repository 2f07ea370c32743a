#include "gui/controls/ErrorListDialog.h"

#include "gui/controls/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace gui::controls {
namespace {

/// The title every window of the program shows.
constexpr const char* kTitle = "Ordavel";

QString PriorityName(int priority) {
  switch (priority) {
    case 1:
      return QObject::tr("Message");
    case 2:
      return QObject::tr("Warning");
    case 3:
      return QObject::tr("Error");
    case 4:
      return QObject::tr("Security");
    default:
      return QObject::tr("Priority %1").arg(priority);
  }
}

QStyle::StandardPixmap PriorityIcon(int priority) {
  switch (priority) {
    case 1:
      return QStyle::SP_MessageBoxInformation;
    case 2:
      return QStyle::SP_MessageBoxWarning;
    default:
      return QStyle::SP_MessageBoxCritical;
  }
}

}  // namespace

ErrorListDialog::ErrorListDialog(const std::vector<host::ErrorListEntry>& entries, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(kTitle));
  list_ = new QListWidget(this);
  list_->setWordWrap(true);
  list_->setTextElideMode(Qt::ElideNone);
  list_->setUniformItemSizes(false);
  const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  list_->setIconSize(QSize(iconSize, iconSize));
  QStringList lines;
  for (const host::ErrorListEntry& entry : entries) {
    auto* item = new QListWidgetItem(style()->standardIcon(PriorityIcon(entry.priority)),
                                     ToQt(entry.text), list_);
    item->setToolTip(PriorityName(entry.priority));
    lines << PriorityName(entry.priority) + QStringLiteral(": ") + ToQt(entry.text);
  }
  text_ = lines.join(QLatin1Char('\n'));
  list_->setSpacing(2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
  copy->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(copy, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* shortcut = new QShortcut(QKeySequence::Copy, this);
  connect(shortcut, &QShortcut::activated, this, [this] { CopyToClipboard(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  const QFontMetrics metrics = fontMetrics();
  const int rows = std::clamp(static_cast<int>(entries.size()), 2, 10);
  resize(metrics.averageCharWidth() * 72, metrics.height() * (rows * 2 + 5));
  buttons->button(QDialogButtonBox::Ok)->setFocus();
}

void ErrorListDialog::CopyToClipboard() const {
  QApplication::clipboard()->setText(text_);
}

void QtErrorListView::Show(const std::vector<host::ErrorListEntry>& entries) {
  ErrorListDialog dialog(entries, parent_);
  dialog.exec();
}

}  // namespace gui::controls
