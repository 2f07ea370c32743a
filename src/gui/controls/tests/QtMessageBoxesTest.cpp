#include "gui/controls/QtMessageBoxes.h"

#include "gui/controls/ProgressWidgets.h"
#include "gui/controls/QtNotifier.h"
#include "gui/controls/tests/GuiFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace gui::controls::testing {
namespace {

TEST(MessageBoxesTest, ShowTheIconAndButtonsAsked) {
  QtMessageBoxes boxes;
  auto shown = [&](host::MessageIcon icon, bool question) {
    QMessageBox::Icon drawn = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    AnswerModal([&](QDialog& dialog) {
      auto& box = dynamic_cast<QMessageBox&>(dialog);
      drawn = box.icon();
      buttons = box.standardButtons();
      EXPECT_EQ("Ordavel", box.windowTitle().toStdString());
    });
    if (question) {
      boxes.AskYesNo("Do you want to continue?", "Ordavel", icon);
    } else {
      boxes.Show("Done.", "Ordavel", icon);
    }
    return std::pair(drawn, buttons);
  };
  using Box = std::pair<QMessageBox::Icon, QMessageBox::StandardButtons>;
  EXPECT_EQ(Box(QMessageBox::Critical, QMessageBox::Ok), shown(host::MessageIcon::Critical, false));
  EXPECT_EQ(Box(QMessageBox::Warning, QMessageBox::Ok),
            shown(host::MessageIcon::Exclamation, false));
  EXPECT_EQ(Box(QMessageBox::Information, QMessageBox::Ok),
            shown(host::MessageIcon::Information, false));
  EXPECT_EQ(Box(QMessageBox::Question, QMessageBox::Yes | QMessageBox::No),
            shown(host::MessageIcon::Question, true));
}

TEST(MessageBoxesTest, AQuestionGivesTheOperatorsAnswer) {
  QtMessageBoxes boxes;
  for (QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
    AnswerModal(
        [answer](QDialog& dialog) { dynamic_cast<QMessageBox&>(dialog).button(answer)->click(); });
    EXPECT_EQ(answer == QMessageBox::Yes,
              boxes.AskYesNo("Back up first?", "Ordavel", host::MessageIcon::Question));
  }
}

TEST(NotifierTest, ATargetThatCannotBeOpenedIsShownWithACopyButton) {
  QtNotifier notifier("Ordavel");
  QString copied;
  AnswerModal([&](QDialog& dialog) {
    auto& shown = dynamic_cast<CannotOpenDialog&>(dialog);
    EXPECT_EQ("No file browser.", shown.Message().text().toStdString());
    shown.CopyButton().click();
    EXPECT_TRUE(shown.isVisible()) << "copying leaves the message open";
    copied = QApplication::clipboard()->text();
  });
  notifier.CannotOpen("No file browser.", "/srv/logs/SAMLTD");
  EXPECT_EQ("/srv/logs/SAMLTD", copied.toStdString());
}

TEST(ProgressWidgetsTest, DrawTheirModelsAndThePumpRunsPendingEvents) {
  host::ProgressBar bar;
  bar.SetMax(200);
  ProgressBarWidget progress(bar);
  bar.SetValue(50);
  EXPECT_EQ(250, progress.value()) << "a quarter of the bar";
  host::TextBox box;
  TextBoxWidget processing(box);
  box.SetText("Customers");
  EXPECT_EQ("Customers", processing.text().toStdString());
  box.SetEnabled(false);
  EXPECT_FALSE(processing.isEnabled());

  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  QtEventPump().ProcessPendingMessages();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace gui::controls::testing
