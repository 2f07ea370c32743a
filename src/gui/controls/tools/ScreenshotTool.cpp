#include "gui/controls/tools/ScreenshotTool.h"

#include "gui/controls/ApplicationLook.h"

#include <QApplication>

#include <exception>
#include <iostream>

namespace gui::controls::tools {

int RunScreenshotTool(int argc, char** argv, const char* name,
                      const std::function<void(const std::filesystem::path& folder)>& draw) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  PrepareHighDpi();
  QApplication application(argc, argv);
  UsePlatformFont(application);
  MuteOffscreenNotes();
  try {
    // Absolute: reading a site's configuration makes the ERP's runtime folder the current one.
    const std::filesystem::path folder =
        std::filesystem::absolute(argc > 1 ? argv[1] : "build/screenshots");
    std::filesystem::create_directories(folder);
    draw(folder);
  } catch (const std::exception& error) {
    std::cerr << name << ": " << error.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace gui::controls::tools
