#include "gui/about/AboutDialog.h"

#include "about/VersionResource.h"
#include "gui/about/LinkLabel.h"
#include "host/testsupport/InstalledSite.h"
#include "util/Addresses.h"
#include "util/tests/testsupport/Recording.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "util/tests/testsupport/Recording.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gui {
namespace {

using util::testing::RecordingShell;

/// The About window of an installed stand-in site whose own record names `clientName`, or of a
/// site without a record when there is none.
class AboutDialogTest : public ::testing::Test {
 protected:
  void Install(std::optional<std::string> clientName) {
    site.install();
    if (clientName) {
      site.createSite({"", "CLIENT-0042", *clientName, "", "", ""},
                      {"SAMLTD", "CLIENT-LTD", "Sample Limited", "", "", ""});
    }
    services = std::make_unique<AboutWindowServices>([this] { return site.paths(); },
                                                     site.registry(), shell, site.notifier);
  }

  void Show(std::optional<std::string> clientName) {
    Install(std::move(clientName));
    Open();
  }

  /// Loads a new About window and shows it.
  void Open() {
    dialog.reset();
    window = std::make_unique<about::frmAbout>(services->Services());
    window->Form_Load();
    dialog = std::make_unique<AboutDialog>(*window, *services);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }

  template <typename Widget>
  Widget& Child(const char* name) {
    auto* child = dialog->findChild<Widget*>(QString::fromLatin1(name));
    if (!child) throw std::runtime_error(std::string("no control ") + name);
    return *child;
  }

  /// Puts the pointer on `point` of `widget`; the platform sends the moves and crossings.
  static void PointAt(QWidget& widget, QPoint point) {
    QCursor::setPos(widget.mapToGlobal(point));
    QCoreApplication::processEvents();
  }

  host::testing::InstalledSite site;
  RecordingShell shell;
  std::unique_ptr<AboutWindowServices> services;
  std::unique_ptr<about::frmAbout> window;
  std::unique_ptr<AboutDialog> dialog;
};

TEST_F(AboutDialogTest, ShowsTheSiteClientWithTheLegalNoticeOrARedWarningAboutBlanks) {
  Show("  Northwind Traders");
  EXPECT_EQ("About Ordavel", dialog->windowTitle().toStdString());
  EXPECT_EQ("  Northwind Traders", Child<QLineEdit>("txtCompany").text().toStdString());
  EXPECT_EQ("CLIENT-0042", Child<QLineEdit>("txtClientID").text().toStdString());
  const QLabel& copyright = Child<QLabel>("lblCopyright");
  EXPECT_EQ("Company contains 2 leading space(s).", copyright.text().toStdString());
  EXPECT_EQ(QColor(Qt::red), copyright.palette().color(QPalette::WindowText));
}

TEST_F(AboutDialogTest, AClientNameWithoutBlanksKeepsTheLegalNoticeInTheWindowsColour) {
  Show("Northwind Traders");
  const QLabel& copyright = Child<QLabel>("lblCopyright");
  EXPECT_EQ(about::kLegalCopyright, copyright.text().toStdString());
  EXPECT_EQ(dialog->palette().color(QPalette::WindowText),
            copyright.palette().color(QPalette::WindowText));
}

TEST_F(AboutDialogTest, UnreadableSiteRecordShowsTheZeroClientID) {
  Show(std::nullopt);
  EXPECT_EQ("0000000000", Child<QLineEdit>("txtClientID").text().toStdString());
  EXPECT_EQ(about::kCompanyName, Child<QLineEdit>("txtCompany").text().toStdString());
}

TEST_F(AboutDialogTest, LinksUnderlineUnderThePointerAndNotOnceItHasLeft) {
  Show("Northwind Traders");
  for (const char* name : {"txtHomePage", "txtLatestVersion"}) {
    SCOPED_TRACE(name);
    LinkLabel& link = Child<LinkLabel>(name);
    QtLinkTimer& timer = std::string(name) == "txtHomePage" ? services->TimerHomePage()
                                                            : services->TimerLatestVersion();
    ASSERT_FALSE(link.font().underline());
    PointAt(link, link.rect().center());
    EXPECT_TRUE(link.font().underline());
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_EQ(100, timer.QtTimer().interval());

    PointAt(Child<QLabel>("lblCopyright"), QPoint(1, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !link.font().underline(); }, 2000));
    EXPECT_FALSE(timer.IsRunning());
  }
}

TEST_F(AboutDialogTest, LinksOpenTheirPagesOnClickOrEnterAndNeverTakeACaret) {
  Show("Northwind Traders");
  const struct {
    const char* name;
    const char* link;
    bool byKey;
    const char* page;
  } cases[] = {
      {"HomePageClicked", "txtHomePage", false, util::kMakerHomePage},
      {"LatestVersionClicked", "txtLatestVersion", false, util::kProductPage},
      {"HomePageByEnter", "txtHomePage", true, util::kMakerHomePage},
  };
  for (const auto& c : cases) {
    LinkLabel& link = Child<LinkLabel>(c.link);
    shell.opened.clear();
    if (c.byKey) {
      link.setFocus();
      QTest::keyClick(&link, Qt::Key_Return);
    } else {
      QTest::mouseClick(&link, Qt::LeftButton, {}, link.rect().center());
    }
    EXPECT_EQ(std::vector<std::string>{c.page}, shell.opened) << c.name;
    EXPECT_TRUE(link.hasFocus()) << c.name;
    EXPECT_EQ(Qt::NoTextInteraction, link.textInteractionFlags()) << c.name;
    EXPECT_FALSE(link.hasSelectedText()) << c.name;
  }
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(AboutDialogTest, OkEscapeAndTheCloseBoxCloseTheWindowThroughItsOk) {
  const struct {
    const char* name;
    void (*close)(AboutDialog&);
  } cases[] = {
      {"OK", [](AboutDialog& d) { d.findChild<QPushButton*>("cmdOK")->click(); }},
      {"Escape", [](AboutDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
      {"CloseBox", [](AboutDialog& d) { d.close(); }},
  };
  Install("Northwind Traders");
  for (const auto& c : cases) {
    Open();
    c.close(*dialog);
    EXPECT_FALSE(dialog->isVisible()) << c.name;
    EXPECT_EQ(QDialog::Accepted, dialog->result()) << c.name;
    EXPECT_TRUE(window->Closed()) << c.name;
  }
}

TEST_F(AboutDialogTest, ShowAboutWindowLoadsAndShowsTheWindowUntilOk) {
  Install("  Northwind Traders");
  std::string copyright;
  QTimer answer;
  answer.callOnTimeout([&] {
    auto* shown = dynamic_cast<AboutDialog*>(QApplication::activeModalWidget());
    if (!shown || !shown->isVisible()) return;
    answer.stop();
    copyright = shown->findChild<QLabel*>("lblCopyright")->text().toStdString();
    shown->findChild<QPushButton*>("cmdOK")->click();
  });
  answer.start(10);
  ShowAboutWindow(*services, nullptr);
  EXPECT_EQ("Company contains 2 leading space(s).", copyright);
}

}  // namespace
}  // namespace gui
