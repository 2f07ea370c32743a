#include "gui/controls/tests/GuiFixture.h"

#include <QApplication>
#include <QTimer>

namespace gui::controls::testing {

void AnswerModal(std::function<void(QDialog&)> answer) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    answer(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  poll->start();
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

}  // namespace gui::controls::testing
