#include "gui/main/MainWindow.h"

#include "gui/main/CommandWidgets.h"
#include "gui/main/Mnemonics.h"
#include "gui/main/RecentRunsDialog.h"
#include "gui/main/RunStatusBar.h"

#include "app/WindowLayout.h"
#include "gui/controls/ControlServices.h"
#include "gui/controls/FieldEditWidget.h"
#include "gui/controls/GridWidget.h"
#include "gui/controls/ProgressWidgets.h"
#include "gui/controls/QtText.h"
#include "gui/plan/PlanDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <set>
#include <stdexcept>

namespace gui {
namespace {

/// The frames lie on the tab control below its tabs; a tab's page begins below them, so the
/// frames' twips are taken from this corner.
constexpr int kPageLeft = 60;
constexpr int kPageTop = 315;
/// Characters of a key that a range box always has room for, however long its label.
constexpr int kShortestBoxChars = 10;
/// Characters a label keeps, however long the key beside it, so that it still says something.
constexpr int kShortestLabelChars = 10;
/// The length an edit box without a length of its own allows (QLineEdit's default).
constexpr int kUnlimitedLength = 32767;

/// A menu title with its first letter as the mnemonic.
QString MenuTitle(const std::string& caption) {
  return QLatin1Char('&') + controls::ToQt(caption);
}

template <typename Map>
auto* Found(const Map& map, const std::string& name) {
  const auto found = map.find(name);
  if (found == map.end()) throw std::out_of_range("The window has no control named " + name + ".");
  return found->second;
}

}  // namespace

MainWindow::MainWindow(app::Form1& form, controls::ControlServices& services, HelpHooks hooks,
                       QWidget* parent)
    : QMainWindow(parent), form_(form), services_(services), scale_(*this) {
  setWindowTitle(controls::ToQt(form_.Caption()));
  canvas_ = new QWidget(this);
  setCentralWidget(canvas_);
  BuildMenus(std::move(hooks));
  BuildTabs();
  BuildProgressAndButtons();
  AddMnemonics();
  statusBar()->addWidget(new RunStatusLabel(form_), 1);
  canvas_->installEventFilter(this);
  const app::WindowGeometry& geometry = form_.Geometry();
  resize(scale_.X(geometry.width), scale_.Y(geometry.height) + menuBar()->sizeHint().height() +
                                       statusBar()->sizeHint().height());
  PlaceControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus(HelpHooks hooks) {
  auto command = [this](QMenu& menu, const std::string& name, std::function<void()> chosen) {
    QAction* action = menu.addAction(controls::ToQt(form_.MenuItemNamed(name).Caption()));
    if (!chosen) {
      chosen = [this, name] {
        form_.MenuItemNamed(name).Click();
        CloseWhenUnloaded();
      };
    }
    for (auto& connection : BindMenuItem(*action, form_.MenuItemNamed(name), std::move(chosen)))
      connections_.push_back(std::move(connection));
    actions_[name] = action;
  };
  auto title = [this](const std::string& name) {
    QMenu* menu = menuBar()->addMenu(MenuTitle(form_.MenuItemNamed(name).Caption()));
    for (auto& connection : BindMenuItem(*menu->menuAction(), form_.MenuItemNamed(name), [] {}))
      connections_.push_back(std::move(connection));
    actions_[name] = menu->menuAction();
    return menu;
  };
  QMenu* file = title("mnuFile");
  // The File menu is disabled during a run, and these two with it.
  changes_ = std::make_unique<ChangeCommands>(form_, *this);
  actions_["mnuFilePreview"] = file->addAction(QStringLiteral("&Preview"), QKeySequence::Print,
                                               [this] { changes_->Preview(); });
  actions_["mnuFileUndo"] = file->addAction(QStringLiteral("&Undo a Conversion..."),
                                            [this] { changes_->UndoAConversion(); });
  actions_["mnuFilePlan"] = file->addAction(QStringLiteral("&Tax-Change Plan..."), [this] {
    PlanDialog dialog(this, BatchProgramBeside(QCoreApplication::applicationDirPath()),
                      QDir::currentPath());
    dialog.exec();
  });
  AddJobCommands(*file);
  file->addSeparator();
  command(*file, "mnuFileLogFiles", {});
  file->addSeparator();
  command(*file, "mnuFileClose", {});
  AddContextHelp(std::move(hooks.guideSection));
  QMenu* help = title("mnuHelp");
  command(*help, "mnuHelpUserGuide", std::move(hooks.userGuide));
  help->addSeparator();
  command(*help, "mnuHelpWeb", {});
  command(*help, "mnuHelpAbout", std::move(hooks.about));
}

void MainWindow::AddJobCommands(QMenu& file) {
  file.addSeparator();
  jobs_ = std::make_unique<JobCommands>(form_, *this);
  actions_["mnuFileOpenJob"] =
      file.addAction(QStringLiteral("&Open Job..."), [this] { jobs_->OpenJob(); });
  actions_["mnuFileSaveJob"] =
      file.addAction(QStringLiteral("Save &as Job..."), [this] { jobs_->SaveAsJob(); });
  actions_["mnuFileRecentRuns"] = file.addAction(QStringLiteral("&Recent Runs..."), [this] {
    RecentRunsDialog runs(form_, *changes_, this);
    runs.exec();
  });
}

void MainWindow::AddContextHelp(std::function<void(const std::string&)> guideSection) {
  if (!guideSection) return;
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this,
          [this, open = std::move(guideSection)] { open(HelpTopic()); });
}

std::string MainWindow::HelpTopic() const {
  int tab = tabs_->currentIndex();
  for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
    if (const int page = tabs_->indexOf(widget); page >= 0) {
      tab = page;
      break;
    }
  }
  return form_.SSTab1().TabCaption(tab);
}

void MainWindow::BuildTabs() {
  host::TabControl& model = form_.SSTab1();
  tabs_ = new QTabWidget(canvas_);
  Add("SSTab1", tabs_);
  for (int index = 0; index < model.Tabs(); ++index) {
    auto* page = new QWidget;
    tabs_->addTab(page, controls::LiteralLabel(model.TabCaption(index)));
    tabs_->setTabEnabled(index, model.TabEnabled(index));
    const std::string& code = convert::RunTabs()[static_cast<std::size_t>(index)];
    for (const app::SectionDef& section : app::Sections()) {
      if (section.tab == code) BuildSection(*page, section);
    }
  }
  tabs_->setCurrentIndex(model.Tab());
  tabs_->setEnabled(model.Enabled());
  connections_.push_back(model.TabChanged.Connect([this, &model] {
    showingTab_ = true;
    tabs_->setCurrentIndex(model.Tab());
    showingTab_ = false;
  }));
  connections_.push_back(model.TabEnabledChanged.Connect(
      [this, &model](int index) { tabs_->setTabEnabled(index, model.TabEnabled(index)); }));
  connections_.push_back(
      model.EnabledChanged.Connect([this, &model] { tabs_->setEnabled(model.Enabled()); }));
  connect(tabs_, &QTabWidget::currentChanged, this, [this, &model](int index) {
    if (!showingTab_ && index != model.Tab()) model.SetTab(index);
  });
}

void MainWindow::BuildSection(QWidget& page, const app::SectionDef& section) {
  auto* frame = new QGroupBox(controls::LiteralLabel(section.caption), &page);
  Add(section.frame, frame);
  Add(app::FromLabelOf(section.frame), new QLabel(tr("From"), frame));
  Add(app::ToLabelOf(section.frame), new QLabel(tr("To"), frame));
  auto edit = [&](const std::string& name) {
    auto* widget = new controls::FieldEditWidget(form_.RangeControl(name), services_, frame);
    edits_[name] = widget;
    Add(name, widget);
  };
  // Created row by row, so that Tab moves through a row before the next one.
  for (const app::RangePairDef* pair : app::SectionRows(section)) {
    if (pair->firstOfBox) {
      auto* box = new QCheckBox(frame);
      for (auto& connection : BindCheckBox(*box, form_.CheckBoxNamed(pair->checkBox)))
        connections_.push_back(std::move(connection));
      Add(pair->checkBox, box);
    }
    edit(pair->from);
    edit(pair->to);
  }
  for (const app::SharedControlDef& shared : section.sharedControls) {
    if (shared.kind == app::SharedControlKind::TaxGroupEdit) {
      edit(shared.name);
    } else {
      auto* grid = new controls::GridWidget(form_.GridControlNamed(shared.name), services_, frame);
      grids_[shared.name] = grid;
      Add(shared.name, grid);
    }
  }
  AlignLabels(section);
}

void MainWindow::AlignLabels(const app::SectionDef& section) {
  // The edit boxes of a column line up under its "From" or "To": every label of the column
  // takes the widest one's width, and a further row's wider control the rest up to the column.
  // Only a row whose box would then lack room for its own key gives up label width, so a long
  // key of one row does not cut the labels of the others.
  const app::WindowGeometry& geometry = form_.Geometry();
  const int columnStart = geometry.controls.at(app::FromLabelOf(section.frame)).left;
  const int toColumn = geometry.controls.at(app::ToLabelOf(section.frame)).left;
  auto column = [columnStart](int left) { return std::max(left, columnStart); };
  std::map<int, int> columnWidth;
  struct Framed {
    controls::FieldEditWidget* widget;
    const app::ControlBox* box;
    int limit;
  };
  std::vector<Framed> framed;
  for (const auto& [name, widget] : edits_) {
    const app::ControlBox& box = geometry.controls.at(name);
    if (box.container != section.frame) continue;
    const int at = column(box.left);
    const int extra = scale_.X(at) - scale_.X(box.left);
    int& width = columnWidth[at];
    width = std::max(width, widget->Label().sizeHint().width() - extra);
    // A "To" box starts full of Z's: it shows the whole key. A "From" box keeps its labels, which
    // the "To" labels of the same rows repeat.
    framed.push_back({widget, &box, LongestLabel(*widget, box, box.left >= toColumn) - extra});
  }
  for (const auto& [widget, box, limit] : framed) {
    const int at = column(box->left);
    const int width = std::min(columnWidth[at], limit) + scale_.X(at) - scale_.X(box->left);
    QLabel& label = widget->Label();
    label.setFixedWidth(width);
    // A label too long for its control leaves the box room for a key and shows the rest on
    // hover.
    const QString text = label.text();
    const QString shown = label.fontMetrics().elidedText(text, Qt::ElideRight, width);
    if (shown != text) {
      label.setText(shown);
      label.setToolTip(text);
    }
  }
}

int MainWindow::LongestLabel(const controls::FieldEditWidget& widget, const app::ControlBox& box,
                             bool wholeKey) const {
  const int buttons = 1 + static_cast<int>(widget.ExtraButtons().size());
  const int spacing = widget.layout()->spacing() * (buttons + 1);
  const int room =
      scale_.X(box.width) - spacing - buttons * widget.FinderButton().sizeHint().width();
  // The box shows the longest key the field takes (the "To" box starts full of Z's) where the
  // control has room for it and a label that still says something, and needs no more, however
  // short the key; else a short key.
  const int shortestLabel = widget.fontMetrics().averageCharWidth() * kShortestLabelChars;
  const int shortKey = widget.fontMetrics().averageCharWidth() * kShortestBoxChars;
  const int wholeKeyWidth = wholeKey ? KeyWidth(widget) : 0;
  const int key =
      wholeKeyWidth > 0 && wholeKeyWidth <= room - shortestLabel ? wholeKeyWidth : shortKey;
  return room - key;
}

int MainWindow::KeyWidth(const controls::FieldEditWidget& widget) const {
  const QLineEdit& edit = widget.Edit();
  const int chrome = 2 * edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) +
                     edit.textMargins().left() + edit.textMargins().right() + 6;
  // A formatted item number has no length of its own: its box gets a short key's room.
  if (edit.maxLength() >= kUnlimitedLength) return 0;
  return edit.fontMetrics().horizontalAdvance(QString(edit.maxLength(), QLatin1Char('Z'))) + chrome;
}

void MainWindow::BuildProgressAndButtons() {
  auto* progress = new QGroupBox(canvas_);
  Add("frmProgress", progress);
  for (auto& connection : controls::BindWindowControl(*progress, form_.frmProgress()))
    connections_.push_back(std::move(connection));
  Add("ProgressBar", new controls::ProgressBarWidget(form_.ProgressBar(), progress));
  Add("txtProcessing", new controls::TextBoxWidget(form_.txtProcessing(), progress));
  for (const auto& [name, model] :
       {std::pair<std::string, host::CommandButton*>{"cmdConvert", &form_.cmdConvert()},
        {"cmdCancel", &form_.cmdCancel()},
        {"cmdClose", &form_.cmdClose()}}) {
    auto* button = new QPushButton(canvas_);
    for (auto& connection : BindButton(*button, *model, [this] { CloseWhenUnloaded(); }))
      connections_.push_back(std::move(connection));
    Add(name, button);
  }
}

void MainWindow::AddMnemonics() {
  // The models' captions stay as the ERP has them; the keys are the window's own. Within a menu
  // and within a tab (together with the menu bar and the buttons below the tabs, which are in
  // reach from every tab) no two controls share one.
  auto free = [](const QString& text, std::set<char>& used) {
    return controls::ToQt(WithMnemonic(controls::FromQt(text), used));
  };
  std::set<char> window;
  for (QAction* title : menuBar()->actions()) {
    window.insert(MnemonicOf(controls::FromQt(title->text())));
    QMenu* menu = title->menu();
    if (!menu) continue;
    std::set<char> inMenu;
    for (QAction* action : menu->actions())
      inMenu.insert(MnemonicOf(controls::FromQt(action->text())));
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) action->setText(free(action->text(), inMenu));
    }
  }
  for (const char* button : {"cmdConvert", "cmdCancel", "cmdClose"}) {
    window.insert(
        MnemonicOf(controls::FromQt(qobject_cast<QPushButton*>(widgets_.at(button))->text())));
  }
  for (int index = 0; index < tabs_->count(); ++index) {
    std::set<char> inTab = window;
    for (QCheckBox* box : tabs_->widget(index)->findChildren<QCheckBox*>()) {
      box->setText(free(box->text(), inTab));
    }
  }
}

void MainWindow::Add(const std::string& name, QWidget* widget) {
  widget->setObjectName(controls::ToQt(name));
  widgets_[name] = widget;
}

void MainWindow::PlaceControls() {
  const app::WindowGeometry& geometry = form_.Geometry();
  for (const auto& [name, widget] : widgets_) {
    const auto found = geometry.controls.find(name);
    if (found == geometry.controls.end()) continue;
    QRect rect = scale_.Rect(found->second);
    if (found->second.container.empty() && widget->parentWidget() != canvas_) {
      rect.translate(-scale_.X(kPageLeft), -scale_.Y(kPageTop));
    }
    widget->setGeometry(rect);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == canvas_ && event->type() == QEvent::Resize) CanvasResized();
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) form_.Geometry().minimised = isMinimized();
  QMainWindow::changeEvent(event);
}

void MainWindow::CanvasResized() {
  app::WindowGeometry& geometry = form_.Geometry();
  geometry.minimised = isMinimized();
  if (geometry.minimised) return;
  const bool first = geometry.LastWidth == 0 || geometry.LastHeight == 0;
  geometry.width = scale_.TwipsX(canvas_->width());
  geometry.height = scale_.TwipsY(canvas_->height());
  form_.Resize();
  // The size at the first resize is the smallest the window may take.
  if (first) setMinimumSize(size());
  PlaceControls();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!form_.Unloaded() && form_.Run() && form_.Run()->Running() &&
      !form_.Messages().AskYesNoDefaultNo(std::string(kRunningCloseQuestion), app::kProgramTitle,
                                          host::MessageIcon::Question)) {
    // The operator keeps the run going.
    event->ignore();
    return;
  }
  if (form_.Unloaded() || form_.RequestClose()) {
    event->accept();
    return;
  }
  // The run is cancelled; the window closes when Convert returns.
  event->ignore();
}

void MainWindow::CloseWhenUnloaded() {
  if (form_.Unloaded()) QTimer::singleShot(0, this, &QWidget::close);
}

QWidget* MainWindow::Widget(const std::string& name) const {
  const auto found = widgets_.find(name);
  return found == widgets_.end() ? nullptr : found->second;
}

controls::FieldEditWidget& MainWindow::Edit(const std::string& name) const {
  return *Found(edits_, name);
}

controls::GridWidget& MainWindow::Grid(const std::string& name) const {
  return *Found(grids_, name);
}

QAction& MainWindow::MenuAction(const std::string& name) const {
  return *Found(actions_, name);
}

}  // namespace gui
