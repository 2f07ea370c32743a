#include "app/Form1.h"

#include "app/WindowLayout.h"
#include "convert/Startup.h"
#include "convert/TargetProcedures.h"
#include "host/ErrorBoundary.h"
#include "host/HostError.h"
#include "host/controls/StandaloneField.h"
#include "util/Addresses.h"
#include "util/ShellHelpers.h"

#include <algorithm>
#include <stdexcept>

namespace app {
namespace {

std::vector<std::string> TabCaptions() {
  std::vector<std::string> captions;
  for (const convert::TabDef& tab : convert::Tabs()) captions.push_back(tab.caption);
  return captions;
}

}  // namespace

Form1::Form1(Form1Services services)
    : services_(std::move(services)),
      controls_({services_.dataSources, services_.host.newErrorDisplay, services_.filterWindow}),
      tabs_(TabCaptions()) {
  LayOut();
  WireCommands();
}

Form1::~Form1() {
  if (!unloaded_ && connection_) Unload();
}

void Form1::LayOut() {
  tabs_.SetTag("TTTT");
  geometry_ = LayOutWindow();
  frmProgress_.SetTag("TFTT");
  // The window starts idle: the progress frame shows only during a run.
  frmProgress_.SetVisible(false);
  cmdConvert_.SetCaption("Con&vert");
  cmdConvert_.SetTag("FFFT");
  cmdCancel_.SetCaption("Cancel");
  cmdCancel_.SetTag("FFFT");
  cmdCancel_.SetVisible(false);
  cmdClose_.SetCaption("&Close");
  cmdClose_.SetTag("FFTT");

  for (const convert::KindDef& kind : convert::Kinds()) {
    checkBoxes_[kind.checkBox].SetCaption(kind.checkBoxCaption);
    checkBoxes_[kind.checkBox].OnClick([this, name = kind.checkBox] { CheckBoxClicked(name); });
  }
  for (const SectionDef& section : Sections()) {
    frames_[section.frame].SetCaption(section.caption);
    frames_[section.frame].SetTag(section.tag);
  }
}

void Form1::WireCommands() {
  for (const auto& [name, caption] :
       std::vector<std::pair<std::string, std::string>>{{"mnuFile", "File"},
                                                        {"mnuFileLogFiles", "Log Files..."},
                                                        {"mnuFileSep", "-"},
                                                        {"mnuFileClose", "Close"},
                                                        {"mnuHelp", "Help"},
                                                        {"mnuHelpUserGuide", "User Guide"},
                                                        {"mnuHelpSep", "-"},
                                                        {"mnuHelpWeb", "Quenlix Home Page.."},
                                                        {"mnuHelpAbout", "About..."}}) {
    menus_[name].SetCaption(caption);
  }
  menus_["mnuFileLogFiles"].OnClick([this] {
    if (connection_) util::ExploreFolder(services_.shell, connection_->LogFolderOnDisk());
  });
  menus_["mnuFileClose"].OnClick([this] { RequestClose(); });
  menus_["mnuHelpUserGuide"].OnClick([this] {
    util::OpenDocument(services_.shell, services_.notifier, services_.programFolder, kUserGuide);
  });
  menus_["mnuHelpWeb"].OnClick(
      [this] { util::OpenURL(services_.shell, services_.notifier, util::kMakerHomePage); });
  menus_["mnuHelpAbout"].OnClick([this] { ShowAbout(); });
  cmdConvert_.OnClick([this] {
    if (run_) run_->ConvertButtonClick();
  });
  cmdCancel_.OnClick([this] {
    if (run_) run_->CancelButtonClick();
  });
  cmdClose_.OnClick([this] { RequestClose(); });
}

bool Form1::Load() {
  // A backend without a local installation (the Web API) has no site configuration or
  // installed programs to check: its sign-on proves that the server lets the operator in.
  if (services_.readPaths && !CheckSiteConfiguration()) {
    convert::ReportNoSiteConfiguration(services_.messages);
    return false;
  }
  caption_ = kProgramTitle;
  if (services_.readPaths) paths_.emplace(services_.readPaths());
  if (paths_ && !paths_->Installed()) {
    convert::ReportNotInstalled(services_.messages);
    return false;
  }
  tabs_.SetTab(0);
  if (!connection_) connection_ = std::make_unique<host::AccpacConnection>(services_.host);
  if (!convert::Logon(*connection_, services_.hWnd)) return false;
  caption_ = connection_->Session()->CompanyID() + " - " + kProgramTitle;
  if (!convert::TaxServicesActive(*connection_)) {
    connection_->Logoff();
    return false;
  }
  if (!OpenDataSources()) {
    connection_->Logoff();
    return false;
  }
  run_ = std::make_unique<ConversionRun>(*this, *connection_, [this] { Unload(); });
  for (int index = 0; index < tabs_.Tabs(); ++index) {
    if (!tabs_.TabEnabled(index)) continue;
    const std::string& code = convert::RunTabs()[static_cast<std::size_t>(index)];
    controls_.BuildTab(*connection_, code);
    for (const SectionDef& section : Sections()) {
      if (section.tab != code) continue;
      for (const std::string& box : section.checkBoxes) checkBoxes_.at(box).Click();
    }
  }
  return true;
}

bool Form1::CheckSiteConfiguration() {
  return convert::SiteConfigurationReadable(services_.readPaths());
}

bool Form1::IsModuleActive(const std::string& code) {
  return convert::IsModuleActive(*connection_, code);
}

bool Form1::OpenDataSources() {
  // The ERP's own message says what went wrong; the operator sees it before the program ends.
  auto open = [this](const convert::SourceDef& def) {
    return host::ShowErrorsOf(*connection_, [&] { controls_.Open(*connection_, def); });
  };
  for (const convert::SourceDef& def : convert::TaxSources()) {
    if (!open(def)) return false;
  }
  for (std::size_t index = 0; index < convert::RunTabs().size(); ++index) {
    const std::string& tab = convert::RunTabs()[index];
    tabs_.SetTabEnabled(static_cast<int>(index), IsModuleActive(tab));
    if (!tabs_.TabEnabled(static_cast<int>(index))) continue;
    for (const convert::SourceDef& def : convert::TabSources(tab)) {
      if (!open(def)) return false;
    }
  }
  for (std::size_t index = 0; index < convert::RunTabs().size(); ++index) {
    if (tabs_.TabEnabled(static_cast<int>(index))) {
      controls_.OpenItemsFor(*connection_, convert::RunTabs()[index]);
    }
  }
  return true;
}

void Form1::CloseDataSources() {
  controls_.Release();
}

void Form1::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  CloseDataSources();
  if (connection_) connection_->Logoff();
}

bool Form1::RequestClose() {
  if (run_ && !run_->RequestClose()) return false;
  Unload();
  return true;
}

void Form1::DefineRangeField(host::FieldEditControl& edit, const host::Field& field,
                             const std::string& fill) {
  convert::KindControlSet::DefineRangeField(edit, field, fill);
}

void Form1::CheckBoxClicked(const std::string& box) {
  const bool checked = checkBoxes_.at(box).Value() == 1;
  host::FieldEditControl* first = nullptr;
  for (const RangePairDef& pair : convert::KindOfCheckBox(box)->ranges) {
    for (const std::string& name : {pair.from, pair.to}) {
      host::FieldEditControl& edit = controls_.RangeControl(name);
      if (!first) {
        first = &edit;
        edit.SetEnabled(checked);
      } else {
        edit.SetEnabled(first->Enabled());
      }
    }
  }
  for (const SectionDef& section : Sections()) {
    if (std::find(section.checkBoxes.begin(), section.checkBoxes.end(), box) !=
        section.checkBoxes.end()) {
      RefreshSection(section);
    }
  }
}

void Form1::RefreshSection(const SectionDef& section) {
  const bool any =
      std::any_of(section.checkBoxes.begin(), section.checkBoxes.end(),
                  [this](const std::string& box) { return checkBoxes_.at(box).Value() == 1; });
  host::WindowControl& first = SharedControl(section.sharedControls.front());
  first.SetEnabled(any);
  for (std::size_t i = 1; i < section.sharedControls.size(); ++i) {
    SharedControl(section.sharedControls[i]).SetEnabled(first.Enabled());
  }
}

host::WindowControl& Form1::SharedControl(const SharedControlDef& shared) {
  switch (shared.kind) {
    case SharedControlKind::TaxGroupEdit:
      return controls_.RangeControl(shared.name);
    case SharedControlKind::MappingGrid:
      return controls_.GridControlNamed(shared.name);
  }
  throw std::logic_error("Unknown kind of shared control " + shared.name + ".");
}

bool Form1::ReadAROptionFlag() {
  return convert::KindControlSet::ReadAROptionFlag(*connection_);
}

bool Form1::ReadICOptionFlag() {
  return convert::KindControlSet::ReadICOptionFlag(*connection_);
}

void Form1::FormatItemNumberField(host::FieldEditControl& edit) {
  controls_.FormatItemNumberField(edit);
}

std::string Form1::UnformatItemNumber(const std::string& text) {
  return convert::UnformatItemNumber(controls_.Source(convert::kItemsSource), text);
}

void Form1::ShowAbout() {
  if (!services_.about) return;
  about::frmAbout window(*services_.about);
  window.Form_Load();
  window.Form_Activate();
  services_.showAbout(window);
}

host::MenuItem& Form1::MenuItemNamed(const std::string& name) {
  return convert::FindControl(menus_, name);
}

host::GridControl& Form1::GridControlNamed(const std::string& name) {
  return controls_.GridControlNamed(name);
}

bool Form1::Built(const std::string& name) const {
  return controls_.Built(name);
}

host::FieldEditControl& Form1::RangeControl(const std::string& name) {
  return controls_.RangeControl(name);
}

host::DataSource& Form1::Source(const std::string& name) {
  return controls_.Source(name);
}

grids::TaxGroupGrid& Form1::TaxGroupGridNamed(const std::string& name) {
  return controls_.TaxGroupGridNamed(name);
}

grids::TaxAuthorityGrid& Form1::TaxAuthorityGridNamed(const std::string& name) {
  return controls_.TaxAuthorityGridNamed(name);
}

grids::CriteriaField& Form1::Criteria(const std::string& name) {
  return controls_.Criteria(name);
}

host::CheckBox& Form1::CheckBoxNamed(const std::string& name) {
  return convert::FindControl(checkBoxes_, name);
}

}  // namespace app
