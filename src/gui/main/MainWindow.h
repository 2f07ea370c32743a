#pragma once

#include "gui/main/TwipsScale.h"

#include "gui/main/ChangeCommands.h"

#include "app/Form1.h"
#include "app/Layout.h"
#include "host/Signal.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QTabWidget;

namespace gui {

namespace controls {
class ControlServices;
class FieldEditWidget;
class GridWidget;
}  // namespace controls

/// Asked when the window is closed during a run; No keeps the run going.
inline constexpr const char* kRunningCloseQuestion =
    "A run is in progress. Do you want to cancel it at the next record and close Ordavel?";

/// What the Help menu opens, where the program has a window of its own for it; an empty one
/// leaves the command to the main window's logic.
struct HelpHooks {
  /// Shows the About window.
  std::function<void()> about{};
  /// Opens the user guide.
  std::function<void()> userGuide{};
};

/// The program's main window drawn from Form1: the menus, the six module tabs with their
/// section frames, check boxes, range and tax-group edit controls and grids placed from the
/// layout's twips, the progress frame and the Convert, Cancel and Close buttons. Every resize
/// runs the layout's resize rules; closing during a run asks, then cancels it and closes once it
/// ended.
class MainWindow : public QMainWindow {
 public:
  /// A window on a loaded `form`; `form` and `services` must outlive it.
  MainWindow(app::Form1& form, controls::ControlServices& services, HelpHooks hooks = {},
             QWidget* parent = nullptr);
  ~MainWindow() override;

  QTabWidget& Tabs() const { return *tabs_; }
  /// The widget that draws the control of that name (a frame, check box, label, edit control,
  /// grid, button, ...); nullptr when there is none.
  QWidget* Widget(const std::string& name) const;
  controls::FieldEditWidget& Edit(const std::string& name) const;
  controls::GridWidget& Grid(const std::string& name) const;
  /// The menu command of that name (`mnuFileLogFiles`, `mnuHelpAbout`, ...; the window's own
  /// `mnuFilePreview` and `mnuFileUndo`).
  QAction& MenuAction(const std::string& name) const;
  const TwipsScale& Scale() const { return scale_; }
  /// The Preview and Undo a Conversion commands of the File menu.
  ChangeCommands& Changes() { return *changes_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus(HelpHooks hooks);
  void BuildTabs();
  void BuildSection(QWidget& page, const app::SectionDef& section);
  void BuildProgressAndButtons();
  void AlignLabels(const app::SectionDef& section);
  /// Gives the menu commands and the check boxes access keys, unique within a menu and a tab.
  void AddMnemonics();
  /// The widest label that leaves the control's box room for its longest key and its buttons.
  /// `wholeKey`: the box shows the longest key its field takes, else a short one.
  int LongestLabel(const controls::FieldEditWidget& widget, const app::ControlBox& box,
                   bool wholeKey) const;
  /// How wide an edit box must be to show the longest key its field takes; 0 when the field has
  /// no length of its own.
  int KeyWidth(const controls::FieldEditWidget& widget) const;
  void Add(const std::string& name, QWidget* widget);
  void PlaceControls();
  void CanvasResized();
  void CloseWhenUnloaded();

  app::Form1& form_;
  controls::ControlServices& services_;
  TwipsScale scale_;
  QWidget* canvas_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  std::map<std::string, QWidget*> widgets_;
  std::map<std::string, controls::FieldEditWidget*> edits_;
  std::map<std::string, controls::GridWidget*> grids_;
  std::map<std::string, QAction*> actions_;
  std::unique_ptr<ChangeCommands> changes_;
  bool showingTab_ = false;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui
