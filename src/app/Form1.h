#pragma once

#include "about/frmAbout.h"
#include "app/ConversionRun.h"
#include "app/Layout.h"
#include "app/RunWindow.h"
#include "app/WindowGeometry.h"
#include "convert/KindControlSet.h"
#include "grids/CriteriaField.h"
#include "grids/TaxAuthorityGrid.h"
#include "grids/TaxGroupGrid.h"
#include "host/AccpacConnection.h"
#include "host/AccpacPaths.h"
#include "host/DataSource.h"
#include "host/EventPump.h"
#include "host/MessageBoxes.h"
#include "host/ProgressBar.h"
#include "host/WindowControls.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/FilterWindow.h"
#include "host/controls/GridControl.h"
#include "util/Shell.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace app {

/// The outside world the main window works with; tests and the batch runner supply their own.
struct Form1Services {
  /// The pieces the ERP connection is made of.
  host::HostServices host;
  /// Reads the ERP's installation folders (each call reads them anew); empty for a backend
  /// without a local installation, whose start-up then checks neither.
  std::function<host::AccpacPaths()> readPaths;
  host::DataSourceFactory& dataSources;
  host::MessageBoxes& messages;
  util::Shell& shell;
  util::Notifier& notifier;
  host::EventPump& pump;
  host::FilterWindow& filterWindow;
  /// The program's folder, below which the user guide lies.
  std::string programFolder;
  /// What the About window reads; without it the About command does nothing.
  const about::AboutServices* about = nullptr;
  /// Shows the loaded About window modally and returns when it is closed.
  std::function<void(about::frmAbout&)> showAbout = [](about::frmAbout&) {};
  std::int32_t hWnd = 0;
  /// The time the progress frame is redrawn by; tests give a clock they move themselves.
  std::function<std::chrono::steady_clock::time_point()> clock = [] {
    return std::chrono::steady_clock::now();
  };
};

/// The main window's logic: start-up, module tabs, range fields with finders, check boxes,
/// item-number formatting, resizing, menus and shut-down, on the host's control models.
class Form1 : public RunWindow {
 public:
  explicit Form1(Form1Services services);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  /// Runs the start-up; false when the program ends.
  bool Load();
  /// Releases the grids and criteria fields, closes the data sources and signs off.
  void Unload();
  /// Asks to close the window: during a run the run is cancelled first; true when it closed.
  bool RequestClose();
  /// Whether the window has been unloaded.
  bool Unloaded() const { return unloaded_; }

  const std::string& Caption() const { return caption_; }
  /// The conversion run behind Convert and Cancel; nullptr before a successful start-up.
  const ConversionRun* Run() const { return run_.get(); }
  ConversionRun* Run() { return run_.get(); }
  host::AccpacConnection* Connection() { return connection_.get(); }

  bool CheckSiteConfiguration();
  bool IsModuleActive(const std::string& code);
  bool OpenDataSources();
  void CloseDataSources();
  bool ReadAROptionFlag();
  bool ReadICOptionFlag();
  /// Replaces an item number typed in an item field by its formatted form.
  void FormatItemNumberField(host::FieldEditControl& edit);
  /// The item number in the ERP's unformatted form.
  std::string UnformatItemNumber(const std::string& text);
  /// Gives a range control its field definition, starting value and left label.
  void DefineRangeField(host::FieldEditControl& edit, const host::Field& field,
                        const std::string& fill);

  /// The window size and control positions that DoResize works on.
  WindowGeometry& Geometry() { return geometry_; }
  /// Applies the resize rules to the current geometry.
  void Resize() { DoResize(geometry_); }

  host::MenuItem& MenuItemNamed(const std::string& name);
  host::GridControl& GridControlNamed(const std::string& name);
  /// Whether the named tax-group, tax-authority grid or criteria field was created.
  bool Built(const std::string& name) const;

  host::FieldEditControl& RangeControl(const std::string& name) override;
  host::DataSource& Source(const std::string& name) override;
  grids::TaxGroupGrid& TaxGroupGridNamed(const std::string& name) override;
  grids::TaxAuthorityGrid& TaxAuthorityGridNamed(const std::string& name) override;
  grids::CriteriaField& Criteria(const std::string& name) override;
  host::CheckBox& CheckBoxNamed(const std::string& name) override;
  host::TabControl& SSTab1() override { return tabs_; }
  host::MenuItem& mnuHelp() override { return menus_.at("mnuHelp"); }
  host::MenuItem& mnuFile() override { return menus_.at("mnuFile"); }
  host::CommandButton& cmdClose() override { return cmdClose_; }
  host::CommandButton& cmdConvert() override { return cmdConvert_; }
  host::CommandButton& cmdCancel() override { return cmdCancel_; }
  host::WindowControl& frmProgress() override { return frmProgress_; }
  host::ProgressBar& ProgressBar() override { return progressBar_; }
  host::TextBox& txtProcessing() override { return txtProcessing_; }
  host::DataSourceFactory& DataSources() override { return services_.dataSources; }
  host::MessageBoxes& Messages() override { return services_.messages; }
  util::Shell& Shell() override { return services_.shell; }
  host::EventPump& Pump() override { return services_.pump; }
  std::chrono::steady_clock::time_point Now() override { return services_.clock(); }

 private:
  void LayOut();
  void WireCommands();
  void CheckBoxClicked(const std::string& box);
  void RefreshSection(const SectionDef& section);
  host::WindowControl& SharedControl(const SharedControlDef& shared);
  void ShowAbout();

  Form1Services services_;
  std::optional<host::AccpacPaths> paths_;
  std::unique_ptr<host::AccpacConnection> connection_;
  /// The kinds' data sources, range controls, mappings and criteria fields.
  convert::KindControlSet controls_;
  std::map<std::string, host::CheckBox> checkBoxes_;
  std::map<std::string, host::WindowControl> frames_;
  std::map<std::string, host::MenuItem> menus_;
  host::TabControl tabs_;
  host::CommandButton cmdConvert_;
  host::CommandButton cmdCancel_;
  host::CommandButton cmdClose_;
  host::WindowControl frmProgress_;
  host::ProgressBar progressBar_;
  host::TextBox txtProcessing_;
  std::unique_ptr<ConversionRun> run_;
  WindowGeometry geometry_;
  std::string caption_;
  bool unloaded_ = false;
};

}  // namespace app
