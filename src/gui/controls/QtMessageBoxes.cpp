#include "gui/controls/QtMessageBoxes.h"

#include "gui/controls/QtText.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace gui::controls {
namespace {

QMessageBox::Icon IconOf(host::MessageIcon icon) {
  switch (icon) {
    case host::MessageIcon::Critical:
      return QMessageBox::Critical;
    case host::MessageIcon::Question:
      return QMessageBox::Question;
    case host::MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case host::MessageIcon::Information:
      return QMessageBox::Information;
    case host::MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageBoxes::Show(const std::string& text, const std::string& title,
                          host::MessageIcon icon) {
  QMessageBox box(IconOf(icon), ToQt(title), ToQt(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtMessageBoxes::AskYesNo(const std::string& text, const std::string& title,
                              host::MessageIcon icon) {
  return Ask(text, title, icon, QMessageBox::Yes);
}

bool QtMessageBoxes::AskYesNoDefaultNo(const std::string& text, const std::string& title,
                                       host::MessageIcon icon) {
  return Ask(text, title, icon, QMessageBox::No);
}

bool QtMessageBoxes::Ask(const std::string& text, const std::string& title, host::MessageIcon icon,
                         int defaultButton) {
  QMessageBox box(IconOf(icon), ToQt(title), ToQt(text), QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.setDefaultButton(static_cast<QMessageBox::StandardButton>(defaultButton));
  return box.exec() == QMessageBox::Yes;
}

void QtEventPump::ProcessPendingMessages() {
  QCoreApplication::processEvents();
}

}  // namespace gui::controls
