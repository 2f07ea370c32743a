// The desktop program:
//
//   ordavel [DESKTOP-HANDLE]
//
// With the handle of an ERP desktop session (`erp signon DIR USER COMPANY` prints one) it joins
// that session; without it the sign-on dialog asks who signs on to which company.

#include "gui/main/Program.h"

#include "app/Layout.h"
#include "gui/controls/ApplicationLook.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <string>

int main(int argc, char** argv) {
  // Log stamps show the date and time in the operator's regional settings.
  std::setlocale(LC_TIME, "");
  gui::controls::PrepareHighDpi();
  QApplication application(argc, argv);
  application.setApplicationName(QString::fromLatin1(app::kProgramTitle));
  gui::controls::UsePlatformFont(application);
  gui::controls::MuteOffscreenNotes();
  std::string commandLine;
  for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);

  gui::HelpHooks hooks;
  // Until the About window is drawn, its menu command names the program and its version.
  hooks.about = [] {
    QMessageBox::about(QApplication::activeWindow(), QStringLiteral("About Ordavel"),
                       QStringLiteral("Ordavel %1").arg(QStringLiteral(ORDAVEL_VERSION)));
  };
  gui::Program program(commandLine, std::move(hooks));
  if (!program.Start()) return 1;
  return application.exec();
}
