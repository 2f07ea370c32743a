// Draws the tax-change plan dialog to PNG files: the example plan's preview table, then its
// conversion, on a temporary sample site and without a display:
//
//   plan_screenshots [FOLDER]      (default build/screenshots)

#include "gui/controls/tools/ScreenshotTool.h"
#include "gui/controls/tools/WindowComposer.h"
#include "gui/plan/PlanDialog.h"

#include "standin/sample/SampleSite.h"

#include <QApplication>

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

/// The sample site in the temp folder, removed afterwards.
class TemporarySite {
 public:
  TemporarySite()
      : folder_(fs::temp_directory_path() / ("ordavel-plan-" + std::to_string(::getpid()))) {
    fs::remove_all(folder_);
    // The dialog's ordavel-batch finds the site through the registry store, as ordavel does.
    setenv("ORDAVEL_REGISTRY", (folder_ / "registry").c_str(), 1);
    erp::createSampleSite(folder_ / "site", ORDAVEL_RUNTIME_LIBRARIES);
  }
  ~TemporarySite() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  TemporarySite(const TemporarySite&) = delete;
  TemporarySite& operator=(const TemporarySite&) = delete;

  const fs::path& Folder() const { return folder_; }

 private:
  fs::path folder_;
};

void Save(QWidget& window, const fs::path& file) {
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
  if (!gui::controls::tools::ComposeWindows({&window}).save(QString::fromStdString(file))) {
    throw std::runtime_error("cannot write " + file.string());
  }
  std::cout << file.string() << '\n';
}

void PreviewThenConvert(const fs::path& folder) {
  TemporarySite site;
  gui::PlanDialog dialog(nullptr, QStringLiteral(ORDAVEL_BATCH_PROGRAM),
                         QString::fromStdString(site.Folder().string()));
  dialog.SetPlan(QStringLiteral(ORDAVEL_EXAMPLE_PLAN), QStringLiteral("admin"));
  dialog.show();
  dialog.Preview();
  dialog.WaitForRun();
  Save(dialog, folder / "plan-dialog-preview.png");
  dialog.Convert(true);
  dialog.WaitForRun();
  Save(dialog, folder / "plan-dialog-converted.png");
}

}  // namespace

int main(int argc, char** argv) {
  return gui::controls::tools::RunScreenshotTool(argc, argv, "plan_screenshots",
                                                 PreviewThenConvert);
}
