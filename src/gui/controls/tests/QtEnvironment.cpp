// Every GUI test runs inside one QApplication on the offscreen platform.

#include "gui/controls/ApplicationLook.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    // Run directly rather than through CTest, the tests still need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whatever a window remembers goes to the temp folder, never to the tester's home.
    qputenv("ORDAVEL_CONFIG_HOME", settings_.path().toLocal8Bit());
    application_ = std::make_unique<QApplication>(argc, argv);
    gui::controls::UsePlatformFont(*application_);
    gui::controls::MuteOffscreenNotes();
  }
  void TearDown() override { application_.reset(); }

 private:
  QTemporaryDir settings_{QDir::tempPath() + QStringLiteral("/ordavel-config-XXXXXX")};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
