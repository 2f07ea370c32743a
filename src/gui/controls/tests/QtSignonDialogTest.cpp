#include "gui/controls/QtSignonDialog.h"

#include "gui/controls/ErrorListDialog.h"
#include "gui/controls/tests/GuiFixture.h"

#include "host/standin/StandinDialogs.h"
#include "host/webapi/tests/testsupport/ServedCompany.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

namespace gui::controls::testing {
namespace {

/// A second connection to the fixture's site, signed on in the Qt dialogs.
class SignonDialogTest : public GuiFixture {
 protected:
  QtSignonDialog dialog;
  QtErrorListView errors;
  host::AccpacConnection connection{
      host::standin::StandinDialogServices(company.sharedData(), dialog, errors)};
};

void Answer(QtSignonDialog& dialog, const char* user, const char* password) {
  dialog.UserID().setText(user);
  dialog.Password().setText(password);
  dialog.accept();
}

TEST_F(SignonDialogTest, RefusalsAreShownInTheDialogWithTheFocusOnTheFieldAtFault) {
  AnswerModal([&](QDialog&) {
    EXPECT_TRUE(dialog.Refusal().isHidden()) << "nothing refused yet";
    ASSERT_EQ(1, dialog.Company().count());
    EXPECT_EQ("SAMLTD - Sample Company Limited", dialog.Company().itemText(0).toStdString());
    AnswerModal([&](QDialog&) {
      EXPECT_EQ("Invalid user ID or password.", dialog.Refusal().text().toStdString());
      EXPECT_FALSE(dialog.Refusal().isHidden());
      EXPECT_EQ(&dialog.Password(), dialog.focusWidget());
      EXPECT_EQ("ADMIN", dialog.UserID().text().toStdString()) << "what was typed stays";
      Answer(dialog, "ADMIN", "admin");
    });
    Answer(dialog, "ADMIN", "wrong");
  });
  ASSERT_TRUE(connection.Logon("ZX1000", 0));
  EXPECT_EQ("SAMLTD", connection.Session()->CompanyID());
}

TEST(SignonMemoryTest, TheLastUserAndCompanyComeBackButNeverThePassword) {
  QTemporaryDir folder;
  const QString file = folder.filePath(QStringLiteral("Ordavel/signon.ini"));
  host::SignonRequest request;
  request.companies = {{"AAA", "First"}, {"SAMLTD", "Sample"}};
  {
    QtSignonDialog first(nullptr, file);
    first.Present(request);
    first.UserID().setText("CLERK");
    first.Password().setText("clerk-secret");
    first.Company().setCurrentIndex(1);
    first.Remember();
  }
  QtSignonDialog next(nullptr, file);
  next.Present(request);
  const host::SignonCredentials shown = next.Entered();
  EXPECT_EQ("CLERK SAMLTD ", shown.userId + " " + shown.company + " " + shown.password);
  QFile stored(file);
  EXPECT_TRUE(stored.open(QIODevice::ReadOnly) && !stored.readAll().contains("clerk-secret"));
}

TEST_F(SignonDialogTest, CancellingSignsNobodyOn) {
  AnswerModal([](QDialog& shown) { shown.reject(); });
  EXPECT_FALSE(connection.Logon("ZX1000", 0));
}

TEST_F(SignonDialogTest, TheErrorDisplayShowsTheListWithIconsAndEmptiesIt) {
  AnswerModal([&](QDialog&) { Answer(dialog, "ADMIN", "admin"); });
  ASSERT_TRUE(connection.Logon("ZX1000", 0));
  connection.PutMessage("Conversion is complete.");
  connection.PutError("Invalid input. Tax Group cannot be blank.");
  QString copied;
  AnswerModal([&](QDialog& shown) {
    auto& display = dynamic_cast<ErrorListDialog&>(shown);
    ASSERT_EQ(2, display.List().count());
    EXPECT_EQ("Invalid input. Tax Group cannot be blank.",
              display.List().item(1)->text().toStdString());
    EXPECT_NE(display.List().item(0)->icon().pixmap(16).toImage(),
              display.List().item(1)->icon().pixmap(16).toImage())
        << "a message and an error have their own icons";
    display.CopyToClipboard();
    copied = QApplication::clipboard()->text();
    display.accept();
  });
  connection.ShowErrors();
  EXPECT_EQ("Message: Conversion is complete.\nError: Invalid input. Tax Group cannot be blank.",
            copied.toStdString());
  EXPECT_EQ(0, connection.Session()->Errors().Count()) << "the list is empty once shown";
}

// A Web API server names no companies: the operator types the company's ID, and the dialog
// signs on to the server.
TEST(WebApiSignonDialogTest, TheCompanyIsTypedAndTheSignonGoesToTheServer) {
  host::webapi::testing::ServedCompany served;
  QtSignonDialog dialog;
  QtErrorListView errors;
  host::AccpacConnection connection{served.host().Services(dialog, errors)};
  AnswerModal([&](QDialog&) {
    EXPECT_TRUE(dialog.Company().isEditable());
    EXPECT_EQ(0, dialog.Company().count());
    AnswerModal([&](QDialog&) {
      EXPECT_EQ("Invalid user ID or password.", dialog.Refusal().text().toStdString());
      EXPECT_EQ("samltd", dialog.Company().currentText().toStdString()) << "what was typed stays";
      Answer(dialog, "ADMIN", "pw");
    });
    dialog.Company().setEditText("samltd");
    Answer(dialog, "ADMIN", "wrong");
  });
  ASSERT_TRUE(connection.Logon("ZX1000", 0));
  EXPECT_EQ("SAMLTD", connection.Session()->CompanyID());
}

}  // namespace
}  // namespace gui::controls::testing
