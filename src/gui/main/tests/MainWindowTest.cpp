#include "gui/main/MainWindow.h"

#include "app/tests/testsupport/Form1Fixture.h"
#include "convert/KindTable.h"
#include "gui/controls/ControlServices.h"
#include "gui/controls/FieldEditWidget.h"
#include "gui/controls/FinderDialog.h"
#include "gui/controls/GridWidget.h"
#include "gui/controls/QtMessageBoxes.h"
#include "gui/controls/QtNotifier.h"
#include "gui/controls/tests/GuiFixture.h"
#include "gui/main/Program.h"
#include "platform/tests/testsupport/TempFolder.h"
#include "util/ShellHelpers.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <set>

namespace gui::testing {
namespace {

using controls::testing::AnswerModal;

constexpr int kARTab = 1;
constexpr int kICTab = 2;

void Settle() {
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
}

/// The main window on company SAMLTD with every module active, drawn and shown; message boxes
/// are answered from a list and recorded.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    site.install();
    site.createSite({"", "CLIENT", "Client", "", "", ""},
                    {"SAMLTD", "CLIENT", "Client", "", "", ""});
    std::vector<erp::ActiveApplication> active;
    for (const char* code : {"TX", "AP", "AR", "IC", "OE", "PO", "BK"})
      active.push_back({code, code, "66A"});
    company = site.addCompany(active);
  }

  ~MainWindowTest() override {
    window.reset();
    services.reset();
    if (form) form->Unload();
  }

  void Open(HelpHooks hooks = {}) {
    form = std::make_unique<app::Form1>(app::Form1Services{
        .host = host::standin::StandinHostServices(site.sharedData(), prompt, display),
        .readPaths = [this] { return site.paths(); },
        .dataSources = factory,
        .messages = *messageBoxes,
        .shell = *formShell,
        .notifier = site.notifier,
        .pump = pump,
        .filterWindow = filterWindow,
        .programFolder = site.programs().string(),
    });
    ASSERT_TRUE(form->Load()) << errors.str();
    services = std::make_unique<controls::ControlServices>(*form->Connection(), factory);
    window = std::make_unique<MainWindow>(*form, *services, std::move(hooks));
    window->show();
    Settle();
  }

  template <typename Widget = QWidget>
  Widget& Shown(const std::string& name) {
    auto* widget = qobject_cast<Widget*>(window->Widget(name));
    if (!widget) throw std::out_of_range(name);
    return *widget;
  }

  void Check(const std::string& box) {
    QTest::mouseClick(&Shown<QCheckBox>(box), Qt::LeftButton, {}, QPoint(5, 5));
  }

  /// Types into an edit control and leaves it with Tab, as the operator does.
  void TypeInto(const std::string& control, const std::string& text) {
    QLineEdit& edit = window->Edit(control).Edit();
    edit.setFocus();
    QTest::keyClicks(&edit, QString::fromStdString(text));
    QTest::keyClick(&edit, Qt::Key_Tab);
  }

  /// Customers C100, C200 and C900 on tax group OLD, ready to move C100 to C500 to HST.
  void PrepareCustomerRun() {
    for (const char* id : {"C100", "C200", "C900"}) {
      company->insert("AR0024", {{"IDCUST", id},
                                 {"CODETAXGRP", "OLD"},
                                 {"TAXSTTS1", std::int64_t{1}},
                                 {"TAXSTTS2", std::int64_t{1}}});
    }
    Open();
    window->Tabs().setCurrentIndex(kARTab);
    Check("chkCustomers");
    TypeInto("afecFromCustomer", "C100");
    TypeInto("afecToCustomer", "C500");
    TypeInto("afecSalesFromTaxGroup", "OLD");
    TypeInto("afecSalesToTaxGroup", "HST");
    messages.answers = {true, false};
  }

  /// Runs `step` once, at the first progress the run shows.
  void AtFirstProgress(std::function<void()> step) {
    progress = form->ProgressBar().ValueChanged.Connect([this, step = std::move(step)]() mutable {
      if (!step || form->ProgressBar().Value() <= 0) return;
      QTimer::singleShot(0, window.get(), std::move(step));
      step = nullptr;
    });
  }

  host::testing::InstalledSite site;
  std::unique_ptr<erp::testing::TestCompany> company;
  erp::testing::ScriptedPrompt prompt{{erp::Credentials{"ADMIN", "admin", "SAMLTD"}}};
  std::ostringstream errors;
  erp::ConsoleErrorDisplay display{errors};
  host::standin::StandinDataSourceFactory factory;
  app::testing::RecordingMessages messages;
  host::MessageBoxes* messageBoxes = &messages;
  util::testing::RecordingShell shell;
  util::Shell* formShell = &shell;
  controls::QtEventPump pump;
  app::testing::NoFilterWindow filterWindow;
  std::unique_ptr<app::Form1> form;
  std::unique_ptr<controls::ControlServices> services;
  std::unique_ptr<MainWindow> window;
  host::ScopedConnection progress;
};

TEST_F(MainWindowTest, RecurringPayablesEnablesItsRangesAndTheVendorTaxControls) {
  Open();
  const std::vector<std::string> ranges{"afecFromPayableCode", "afecToPayableCode",
                                        "afecFromPayableCodeVendor", "afecToPayableCodeVendor"};
  const std::vector<std::string> shared{"afecPurchasesFromTaxGroup", "afecPurchasesToTaxGroup",
                                        "agPurchasesFrom", "agPurchasesTo"};
  auto enabled = [this](const std::vector<std::string>& names) {
    std::string states;
    for (const std::string& name : names) states += window->Widget(name)->isEnabled() ? 'E' : '-';
    return states;
  };
  Check("chkRecurringPayables");
  EXPECT_EQ("EEEE", enabled(ranges));
  EXPECT_EQ("EEEE", enabled(shared));
  Check("chkRecurringPayables");
  EXPECT_EQ("----", enabled(ranges));
  EXPECT_EQ("----", enabled(shared));
  Check("chkVendors");
  Check("chkRecurringPayables");
  Check("chkRecurringPayables");
  EXPECT_EQ("----", enabled(ranges));
  EXPECT_EQ("EEEE", enabled(shared)) << "the vendors box still counts";
}

TEST_F(MainWindowTest, AnUnformattedItemNumberIsShownFormatted) {
  company->insert("IC0310", {{"ITEMNO", "A1000"}, {"FMTITEMNO", "A-1000"}});
  Open();
  window->Tabs().setCurrentIndex(kICTab);
  Check("chkItems");
  TypeInto("afecFromItem", "A1000");
  EXPECT_EQ("A-1000", window->Edit("afecFromItem").Edit().text().toStdString());
  EXPECT_EQ("A-1000", form->RangeControl("afecFromItem").Value());
}

TEST_F(MainWindowTest, AFinderPickFillsARange) {
  for (const char* id : {"C100", "C200"}) company->insert("AR0024", {{"IDCUST", id}});
  Open();
  window->Tabs().setCurrentIndex(kARTab);
  Check("chkCustomers");
  controls::FieldEditWidget& to = window->Edit("afecToCustomer");
  to.Edit().setFocus();
  QTest::keyClick(&to.Edit(), Qt::Key_F5);
  controls::FinderDialog* finder = to.OpenedFinder();
  ASSERT_NE(nullptr, finder);
  QTest::keyClick(&finder->Table(), Qt::Key_Down);
  QTest::keyClick(&finder->Table(), Qt::Key_Return);
  Settle();
  EXPECT_EQ("C200", form->RangeControl("afecToCustomer").Value());
  EXPECT_EQ("C200", to.Edit().text().toStdString());
}

TEST_F(MainWindowTest, ConvertShowsTheRunAndEndsWithTheFinalMessage) {
  PrepareCustomerRun();
  std::vector<int> bar;
  std::string runningState;
  auto watch = form->ProgressBar().ValueChanged.Connect([&] {
    bar.push_back(Shown<QProgressBar>("ProgressBar").value());
    if (runningState.empty()) {
      for (const char* name : {"frmProgress", "cmdCancel", "cmdConvert", "cmdClose", "SSTab1"})
        runningState += Shown(name).isVisible() && Shown(name).isEnabled() ? 'U' : '-';
      for (const char* menu : {"mnuFile", "mnuHelp"})
        runningState += window->MenuAction(menu).isEnabled() ? 'U' : '-';
    }
  });
  QTest::mouseClick(&Shown<QPushButton>("cmdConvert"), Qt::LeftButton);
  EXPECT_EQ("UU-----", runningState) << "only Cancel can be used, the progress frame shows";
  ASSERT_FALSE(bar.empty());
  EXPECT_TRUE(std::is_sorted(bar.begin(), bar.end()));
  EXPECT_LT(bar.front(), bar.back()) << "the bar moved";
  ASSERT_EQ(2u, messages.boxes.size());
  EXPECT_EQ(
      "Conversion of Accounts Receivable tax information is complete. Do you want to "
      "explore the conversion log files?",
      messages.boxes[1].text);
  EXPECT_FALSE(Shown("frmProgress").isVisible());
  EXPECT_TRUE(Shown("cmdConvert").isVisible());
  EXPECT_TRUE(Shown("SSTab1").isEnabled());
}

TEST_F(MainWindowTest, PreviewSavesNothingConvertAgreesAndUndoPutsBackWhatNobodyChanged) {
  PrepareCustomerRun();
  auto customers = [this] {
    SQLite::Statement rows(company->database()->sql(),
                           "SELECT IDCUST, CODETAXGRP FROM AR0024 ORDER BY IDCUST");
    std::string text;
    while (rows.executeStep())
      text += rows.getColumn(0).getString() + " " + rows.getColumn(1).getString() + "; ";
    return text;
  };
  const std::string before = customers();
  window->MenuAction("mnuFilePreview").trigger();
  ASSERT_EQ(1u, messages.boxes.size()) << "a preview asks no backup question";
  EXPECT_NE(std::string::npos,
            messages.boxes[0].text.find(
                "Customers: 2 selected, 2 would convert, 0 would skip, 0 would fail"))
      << messages.boxes[0].text;
  EXPECT_EQ(before, customers());
  const std::filesystem::path preview = form->Run()->LastChangeFile();

  QTest::mouseClick(&Shown<QPushButton>("cmdConvert"), Qt::LeftButton);
  EXPECT_EQ("C100 HST; C200 HST; C900 OLD; ", customers());
  const std::filesystem::path converted = form->Run()->LastChangeFile();
  company->database()->sql().exec("UPDATE AR0024 SET CODETAXGRP = 'OLD' WHERE IDCUST = 'C200'");
  company->database()->sql().exec("UPDATE AR0024 SET TAXSTTS1 = 2 WHERE IDCUST = 'C200'");

  messages.boxes.clear();
  window->Changes().Undo(converted);
  EXPECT_EQ("C100 OLD; C200 OLD; C900 OLD; ", customers());
  ASSERT_EQ(1u, messages.boxes.size());
  EXPECT_NE(std::string::npos,
            messages.boxes[0].text.find("Customers: 2 to undo, 1 put back, 1 changed since"))
      << messages.boxes[0].text;
  EXPECT_EQ(host::MessageIcon::Exclamation, messages.boxes[0].icon);

  window->Changes().Undo(preview);
  ASSERT_EQ(2u, messages.boxes.size());
  EXPECT_NE(std::string::npos, messages.boxes[1].text.find("cannot be undone"));
  EXPECT_NE(std::string::npos, messages.boxes[1].text.find("Nothing was changed."));

  // File > Undo a Conversion... refuses a wrong file before it asks anything.
  ChangeCommands chosen(*form, *window, [&](const std::string&) { return preview.string(); });
  chosen.UndoAConversion();
  ASSERT_EQ(3u, messages.boxes.size());
  EXPECT_NE(std::string::npos, messages.boxes[2].text.find("it is a preview's"))
      << messages.boxes[2].text;
}

TEST_F(MainWindowTest, CancelDuringARunEndsItWithTheCancelledMessage) {
  PrepareCustomerRun();
  AtFirstProgress([this] { QTest::mouseClick(&Shown<QPushButton>("cmdCancel"), Qt::LeftButton); });
  QTest::mouseClick(&Shown<QPushButton>("cmdConvert"), Qt::LeftButton);
  ASSERT_EQ(2u, messages.boxes.size());
  EXPECT_EQ(
      "Conversion of Accounts Receivable tax information canceled. Do you want to explore the "
      "conversion log files?",
      messages.boxes[1].text);
}

TEST_F(MainWindowTest, ClosingDuringARunAsksThenCancelsItAndClosesWhenItEnded) {
  PrepareCustomerRun();
  messages.answers = {true, true};
  bool runningAtClose = false;
  AtFirstProgress([this, &runningAtClose] {
    window->close();
    runningAtClose = window->isVisible() && form->Run()->Running();
  });
  QTest::mouseClick(&Shown<QPushButton>("cmdConvert"), Qt::LeftButton);
  Settle();
  EXPECT_TRUE(runningAtClose) << "the window waits for the run";
  EXPECT_EQ(kRunningCloseQuestion, messages.boxes.at(1).text);
  EXPECT_TRUE(form->Run()->LastResult().cancelled);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(form->Unloaded());
}

TEST_F(MainWindowTest, NoToTheCloseQuestionKeepsTheRunGoing) {
  PrepareCustomerRun();
  messages.answers = {true, false, false};
  AtFirstProgress([this] { window->close(); });
  QTest::mouseClick(&Shown<QPushButton>("cmdConvert"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(3u, messages.boxes.size());
  EXPECT_EQ(kRunningCloseQuestion, messages.boxes[1].text);
  EXPECT_NE(std::string::npos, messages.boxes[2].text.find("is complete")) << "not cancelled";
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(form->Unloaded());
}

TEST_F(MainWindowTest, EnterOnTheBackupQuestionConvertsNothing) {
  controls::QtMessageBoxes boxes;
  messageBoxes = &boxes;
  PrepareCustomerRun();
  QString asked;
  AnswerModal([&](QDialog& dialog) {
    asked = dynamic_cast<QMessageBox&>(dialog).text();
    QTest::keyClick(&dialog, Qt::Key_Return);
  });
  QTest::mouseClick(&Shown<QPushButton>("cmdConvert"), Qt::LeftButton);
  EXPECT_TRUE(asked.startsWith("You should back up your database")) << asked.toStdString();
  SQLite::Statement converted(company->database()->sql(),
                              "SELECT COUNT(*) FROM AR0024 WHERE CODETAXGRP <> 'OLD'");
  ASSERT_TRUE(converted.executeStep());
  EXPECT_EQ(0, converted.getColumn(0).getInt());
}

TEST_F(MainWindowTest, LogFilesTellsWhenNoFileBrowserShowsTheFolderAndOffersItsPath) {
  controls::QtNotifier notifier("Ordavel");
  util::ReportingShell reporting(shell, notifier);
  formShell = &reporting;
  shell.exploreResult = false;
  Open();
  const std::string folder = form->Connection()->LogFolderOnDisk();
  std::string text;
  std::string target;
  AnswerModal([&](QDialog& dialog) {
    auto& shown = dynamic_cast<controls::CannotOpenDialog&>(dialog);
    text = shown.Message().text().toStdString();
    target = shown.Target().text().toStdString();
  });
  window->MenuAction("mnuFileLogFiles").trigger();
  EXPECT_EQ(util::kCannotShowFolder, text);
  EXPECT_EQ(folder, target);
}

TEST_F(MainWindowTest, CheckBoxesAndMenuCommandsHaveAccessKeysOfTheirOwn) {
  Open();
  auto key = [](const QString& text) { return QKeySequence::mnemonic(text)[0].key(); };
  std::set<Qt::Key> inReach;
  for (QAction* title : window->menuBar()->actions()) {
    inReach.insert(key(title->text()));
    std::set<Qt::Key> inMenu;
    for (QAction* command : title->menu()->actions()) {
      if (command->isSeparator()) continue;
      EXPECT_TRUE(inMenu.insert(key(command->text())).second) << command->text().toStdString();
    }
  }
  for (const char* button : {"cmdConvert", "cmdClose"})
    inReach.insert(key(Shown<QPushButton>(button).text()));
  EXPECT_EQ(4u, inReach.size());
  for (int tab = 0; tab < window->Tabs().count(); ++tab) {
    std::set<Qt::Key> inTab = inReach;
    for (QCheckBox* box : window->Tabs().widget(tab)->findChildren<QCheckBox*>())
      EXPECT_TRUE(inTab.insert(key(box->text())).second) << box->text().toStdString();
  }
  EXPECT_EQ("C&ustomers", Shown<QCheckBox>("chkCustomers").text().toStdString().substr(8));
  EXPECT_EQ("Convert Customers", form->CheckBoxNamed("chkCustomers").Caption());
}

TEST_F(MainWindowTest, EveryCriteriaButtonShowsWhetherItsKindHasCriteria) {
  Open();
  int kinds = 0;
  for (const convert::KindDef& kind : convert::Kinds()) {
    // The kind's criteria sit on the "to" control of its first range pair.
    QToolButton& button = *window->Edit(kind.ranges.front().to).ExtraButtons().at(0);
    EXPECT_FALSE(button.isChecked()) << kind.criteria;
    form->Criteria(kind.criteria).Filter("A = 1");
    EXPECT_TRUE(button.isChecked()) << kind.criteria;
    EXPECT_EQ("Additional Criteria: A = 1", button.toolTip().toStdString()) << kind.criteria;
    form->Criteria(kind.criteria).Filter("");
    EXPECT_EQ("Additional Criteria", button.toolTip().toStdString()) << kind.criteria;
    ++kinds;
  }
  EXPECT_EQ(19, kinds);
}

TEST_F(MainWindowTest, AHandleThatJoinsNoDesktopSessionIsExplainedAndTheProgramEnds) {
  platform::testing::ScopedEnv registry("ORDAVEL_REGISTRY", site.registry().file().string());
  std::string shown;
  AnswerModal([&](QDialog& dialog) {
    EXPECT_EQ("Ordavel", dialog.windowTitle().toStdString());
    shown = dynamic_cast<QMessageBox&>(dialog).text().toStdString();
  });
  Program program("999");
  EXPECT_FALSE(program.Start());
  EXPECT_EQ("Ordavel cannot join the ERP desktop session. There is no desktop session 999.", shown);
}

TEST_F(MainWindowTest, TheHelpMenuRunsTheHooksItIsGivenElseTheWindowsOwnCommands) {
  std::vector<std::string> ran;
  Open({.about = [&ran] { ran.push_back("about"); },
        .userGuide = [&ran] { ran.push_back("guide"); }});
  window->MenuAction("mnuHelpAbout").trigger();
  window->MenuAction("mnuHelpUserGuide").trigger();
  EXPECT_EQ((std::vector<std::string>{"about", "guide"}), ran);
  EXPECT_TRUE(site.notifier.messages.empty());

  window.reset();
  services.reset();
  form->Unload();
  prompt.answers.push_back(erp::Credentials{"ADMIN", "admin", "SAMLTD"});
  Open();
  window->MenuAction("mnuHelpUserGuide").trigger();
  ASSERT_EQ(1u, site.notifier.messages.size()) << "the window's own command looks for the guide";
  EXPECT_NE(std::string::npos, site.notifier.messages[0].find("Ordavel User Guide.pdf"));
}

TEST_F(MainWindowTest, ResizingMovesAndStretchesTheControlsByTheirTags) {
  Open();
  const QSize start = window->size();
  EXPECT_EQ(start, window->minimumSize()) << "the size at the first resize is the smallest";
  auto place = [this](const std::string& name) {
    QWidget& widget = Shown(name);
    return QRect(widget.mapTo(window.get(), QPoint(0, 0)), widget.size());
  };
  const std::vector<std::string> names{"SSTab1", "cmdClose", "cmdConvert", "agSalesFrom"};
  std::vector<QRect> before;
  for (const std::string& name : names) before.push_back(place(name));
  const int dx = window->Scale().X(300);
  const int dy = window->Scale().Y(600);
  window->resize(start + QSize(dx, dy));
  Settle();
  ASSERT_EQ(start + QSize(dx, dy), window->size());
  const std::vector<QRect> expected{before[0].adjusted(0, 0, dx, dy), before[1].translated(dx, dy),
                                    before[2].translated(0, dy), before[3]};
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    // Twips and pixels round apart by a pixel at most.
    EXPECT_NEAR(expected[i].left(), place(names[i]).left(), 1);
    EXPECT_NEAR(expected[i].top(), place(names[i]).top(), 1);
    EXPECT_NEAR(expected[i].width(), place(names[i]).width(), 1);
    EXPECT_NEAR(expected[i].height(), place(names[i]).height(), 1);
  }
  EXPECT_NEAR(300, form->Geometry().width - form->Geometry().MinWidth, 15);
  EXPECT_NEAR(600, form->Geometry().height - form->Geometry().MinHeight, 15);
}

}  // namespace
}  // namespace gui::testing
