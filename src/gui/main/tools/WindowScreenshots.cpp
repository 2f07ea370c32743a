// Draws the main window in its interesting states to PNG files, on a temporary copy of the
// sample site and without a display:
//
//   window_screenshots [FOLDER]      (default build/screenshots)

#include "gui/main/Program.h"

#include "convert/KindTable.h"
#include "gui/controls/FieldEditWidget.h"
#include "gui/controls/tools/ScreenshotTool.h"
#include "gui/controls/tools/WindowComposer.h"

#include "standin/sample/SampleSite.h"
#include "standin/site/SiteDatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

namespace {

namespace fs = std::filesystem;

/// A copy of the sample site in the temp folder with ADMIN signed on to SAMLTD through a
/// desktop session, so that nothing needs typing.
class TemporarySite {
 public:
  TemporarySite()
      : folder_(fs::temp_directory_path() / ("ordavel-window-" + std::to_string(::getpid()))) {
    fs::remove_all(folder_);
    setenv("ORDAVEL_REGISTRY", (folder_ / "registry").c_str(), 1);
    const erp::SampleSiteReport site =
        erp::createSampleSite(folder_ / "site", ORDAVEL_RUNTIME_LIBRARIES);
    handle_ =
        erp::SiteDatabase(erp::SiteLayout(site.sharedData)).createDesktopSession("ADMIN", "SAMLTD");
  }
  ~TemporarySite() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  TemporarySite(const TemporarySite&) = delete;
  TemporarySite& operator=(const TemporarySite&) = delete;

  std::string Handle() const { return std::to_string(handle_); }
  /// A folder for programs the pictures need in place of the desktop's.
  fs::path Programs() const { return folder_ / "bin"; }

 private:
  fs::path folder_;
  std::int32_t handle_ = 0;
};

void Settle() {
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
}

/// Runs `step` on the next message box once it shows.
void WhenMessageBox(std::function<void(QMessageBox&)> step) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, step = std::move(step)] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    Settle();
    step(*box);
  });
  poll->start();
}

/// Runs `step` on the next modal dialog once it shows.
void WhenDialog(std::function<void(QDialog&)> step) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, step = std::move(step)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    Settle();
    step(*dialog);
  });
  poll->start();
}

/// The tool tip on screen, or nullptr.
QWidget* ShownToolTip() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->inherits("QTipLabel") && widget->isVisible()) return widget;
  }
  return nullptr;
}

/// The program on the sample site, drawn in its states.
class Screens {
 public:
  // Absolute, as the program moves into the ERP's folders when it starts.
  explicit Screens(const fs::path& folder) : folder_(fs::absolute(folder)) {
    fs::create_directories(folder_);
    if (!program_.Start()) throw std::runtime_error("the main window did not start");
    Window().move(40, 60);
    Settle();
  }

  void EveryTab() {
    static const char* const kNames[] = {"ap", "ar", "ic", "oe", "po", "bk"};
    for (int index = 0; index < Window().Tabs().count(); ++index) {
      Window().Tabs().setCurrentIndex(index);
      Settle();
      Save({&Window()}, std::string("main-window-") + kNames[index] + ".png");
    }
  }

  void ReceivablesReady() {
    Window().Tabs().setCurrentIndex(1);
    for (const char* box : {"chkCustomers", "chkARItemTaxes"}) {
      static_cast<QCheckBox*>(Window().Widget(box))->click();
    }
    app::Form1& form = program_.Form();
    for (const auto& [control, group] : {std::pair{"afecSalesFromTaxGroup", "ONGSTPST"},
                                         std::pair{"afecSalesToTaxGroup", "ONHST"}}) {
      form.RangeControl(control).Type(group);
      form.RangeControl(control).Leave();
    }
    form.RangeControl("afecToARItem").Type("SUPPORT010");
    form.RangeControl("afecToARItem").Leave();
    host::GridControl& items = form.GridControlNamed("agARItems");
    items.Focus();
    items.EditCell(1, 0, "ONPST");
    items.EditCell(0, 0, "Delete");
    items.PressKey(host::GridControl::kKeyInsert);
    items.EditCell(1, 1, "HST");
    items.EditCell(3, 1, "1");
    items.EditCell(4, 1, "No");
    Window().Edit("afecFromCustomer").setFocus();
    Settle();
    Save({&Window()}, "main-window-ar-ready.png");
  }

  /// The customers' criteria set, the customer groups' not, with the set button's tip.
  void CriteriaSetAndUnset() {
    app::Form1& form = program_.Form();
    Window().Tabs().setCurrentIndex(1);
    static_cast<QCheckBox*>(Window().Widget("chkCustomerGroups"))->click();
    form.Criteria(convert::KindOfCheckBox("chkCustomers")->criteria)
        .Filter("NAMECUST LIKE \"%Catering%\" AND SWHOLD = 0");
    Settle();
    QToolButton& set = *Window().Edit("afecToCustomer").ExtraButtons().at(0);
    QToolTip::showText(set.mapToGlobal(QPoint(0, set.height())), set.toolTip(), &set);
    Settle();
    QWidget* tip = ShownToolTip();
    // The tip is kept within the offscreen screen, which is smaller than the window: it is put
    // where a desktop shows it, ending below the button.
    if (tip) tip->move(set.mapToGlobal(QPoint(set.width() - tip->width(), set.height() + 4)));
    Save({&Window(), tip}, "main-window-criteria.png");
    QToolTip::hideText();
    for (const convert::KindDef& kind : convert::Kinds()) form.Criteria(kind.criteria).Filter("");
    static_cast<QCheckBox*>(Window().Widget("chkCustomerGroups"))->click();
  }

  /// File > Log Files... on a desktop whose xdg-open finds no program for folders.
  void LogFilesWithoutAFileBrowser() {
    const fs::path launcher = site_.Programs() / "xdg-open";
    fs::create_directories(site_.Programs());
    std::ofstream(launcher)
        << "#!/bin/sh\n# As xdg-open says when no program opens folders.\nexit 3\n";
    ::chmod(launcher.c_str(), 0755);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (site_.Programs().string() + ":" + path).c_str(), 1);
    bool shown = false;
    WhenDialog([this, &shown](QDialog& message) {
      shown = true;
      Save({&Window(), &message}, "shell-failure-log-folder.png");
      message.accept();
    });
    Window().MenuAction("mnuFileLogFiles").trigger();
    setenv("PATH", path.c_str(), 1);
    if (!shown) throw std::runtime_error("the missing file browser was not reported");
  }

  void RunToTheFinalMessage() {
    app::Form1& form = program_.Form();
    QTimer during;
    during.setInterval(1);
    QObject::connect(&during, &QTimer::timeout, [this, &form, &during] {
      // A record being converted a third of the way through is a fair picture of a run.
      if (!form.Run()->Running() || form.txtProcessing().Text().empty()) return;
      Save({&Window()}, "main-window-run.png", false);
      const host::ProgressBar& bar = form.ProgressBar();
      if (bar.Value() - bar.Min() >= (bar.Max() - bar.Min()) / 3) during.stop();
    });
    bool finalShown = false;
    WhenMessageBox([this, &during, &finalShown](QMessageBox& backup) {
      WhenMessageBox([this, &finalShown](QMessageBox& message) {
        finalShown = true;
        Save({&Window(), &message}, "main-window-final-message.png");
        message.button(QMessageBox::No)->click();
      });
      during.start();
      backup.button(QMessageBox::Yes)->click();
    });
    form.cmdConvert().Click();
    during.stop();
    std::cout << (folder_ / "main-window-run.png").string() << '\n';
    if (!finalShown) throw std::runtime_error("the run showed no final message");
    Settle();
    Save({&Window()}, "main-window-status-bar.png");
  }

  /// File > Recent Runs... after the run, with its run selected.
  void RecentRuns() {
    bool shown = false;
    WhenDialog([this, &shown](QDialog& runs) {
      shown = true;
      runs.resize(900, 240);
      runs.move(Window().pos() + QPoint(40, 160));
      Settle();
      Save({&Window(), &runs}, "recent-runs.png");
      runs.reject();
    });
    Window().MenuAction("mnuFileRecentRuns").trigger();
    if (!shown) throw std::runtime_error("Recent Runs did not show");
  }

 private:
  gui::MainWindow& Window() { return *program_.Window(); }

  void Save(const std::vector<QWidget*>& windows, const std::string& name, bool tell = true) {
    const fs::path file = folder_ / name;
    if (!gui::controls::tools::ComposeWindows(windows).save(
            QString::fromStdString(file.string()))) {
      throw std::runtime_error("cannot write " + file.string());
    }
    if (tell) std::cout << file.string() << '\n';
  }

  fs::path folder_;
  TemporarySite site_;
  // A millisecond a reading: the frame is redrawn every few dozen records, as on a real run of a
  // large company, however fast the sample converts.
  gui::Program program_{
      site_.Handle(), {}, {}, [now = std::chrono::steady_clock::time_point{}]() mutable {
        return now += std::chrono::milliseconds(1);
      }};
};

}  // namespace

int main(int argc, char** argv) {
  return gui::controls::tools::RunScreenshotTool(argc, argv, "window_screenshots",
                                                 [](const fs::path& folder) {
                                                   Screens screens(folder);
                                                   screens.EveryTab();
                                                   screens.ReceivablesReady();
                                                   screens.CriteriaSetAndUnset();
                                                   screens.LogFilesWithoutAFileBrowser();
                                                   screens.RunToTheFinalMessage();
                                                   screens.RecentRuns();
                                                 });
}
