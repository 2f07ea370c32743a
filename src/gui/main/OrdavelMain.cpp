// The desktop program:
//
//   ordavel [DESKTOP-HANDLE]
//
// With the handle of an ERP desktop session (`erp signon DIR USER COMPANY` prints one) it joins
// that session; without it the sign-on dialog asks who signs on to which company.

#include "gui/main/Program.h"

#include "app/Layout.h"
#include "gui/controls/ApplicationLook.h"
#include "gui/resources/ProgramIcon.h"

#include <QApplication>

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

  application.setWindowIcon(gui::ProgramIcon());
  gui::Program program(commandLine);
  if (!program.Start()) return 1;
  return application.exec();
}
