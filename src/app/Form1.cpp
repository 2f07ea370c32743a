#include "app/Form1.h"

#include "app/AuthorityColumns.h"
#include "app/WindowLayout.h"
#include "convert/TargetProcedures.h"
#include "host/AccpacSiteCnfg.h"
#include "host/ErrorBoundary.h"
#include "host/HostError.h"
#include "host/controls/StandaloneField.h"
#include "util/Addresses.h"
#include "util/ShellHelpers.h"

#include <algorithm>
#include <stdexcept>

namespace app {
namespace {

template <typename Map>
auto& Find(Map& map, const std::string& name) {
  auto it = map.find(name);
  if (it == map.end()) throw std::out_of_range("No control is named " + name + ".");
  return it->second;
}

std::vector<std::string> TabCaptions() {
  std::vector<std::string> captions;
  for (const TabDef& tab : Tabs()) captions.push_back(tab.caption);
  return captions;
}

}  // namespace

Form1::Form1(Form1Services services) : services_(std::move(services)), tabs_(TabCaptions()) {
  for (const DataSourceDef& def : DataSources()) {
    sources_[def.name] = services_.dataSources.NewDataSource(def.view);
  }
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

  for (const CheckBoxDef& box : CheckBoxes()) {
    checkBoxes_[box.name].SetCaption(box.caption);
    checkBoxes_[box.name].OnClick([this, name = box.name] { CheckBoxClicked(name); });
  }

  for (const RangePairDef& pair : RangePairs()) {
    for (const auto& [name, label] :
         {std::pair{pair.from, pair.fromLabel}, std::pair{pair.to, pair.toLabel}}) {
      auto& edit = edits_[name] = std::make_unique<host::FieldEditControl>();
      edit->SetTag(label);
      if (pair.itemNumber) edit->AddListener(this);
    }
  }
  for (const SectionDef& section : Sections()) {
    for (const SharedControlDef& shared : section.sharedControls) {
      if (shared.kind == SharedControlKind::TaxGroupEdit) {
        edits_[shared.name] = std::make_unique<host::FieldEditControl>();
      } else {
        gridControls_[shared.name] = std::make_unique<host::GridControl>();
      }
    }
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
    services_.messages.Show(std::string("You do not have access to the Sage 300 shared data "
                                        "folder, which is required, to run ") +
                                kProgramTitle + ".",
                            kProgramTitle, host::MessageIcon::None);
    return false;
  }
  caption_ = kProgramTitle;
  if (services_.readPaths) paths_.emplace(services_.readPaths());
  if (paths_ && !paths_->Installed()) {
    services_.messages.Show("Sage Accpac is not installed.", kProgramTitle,
                            host::MessageIcon::Critical);
    return false;
  }
  tabs_.SetTab(0);
  if (!connection_) connection_ = std::make_unique<host::AccpacConnection>(services_.host);
  bool signedOn = false;
  try {
    signedOn = connection_->Logon(kProgramId, services_.hWnd);
  } catch (const host::HostError&) {
    signedOn = false;
  }
  if (!signedOn) {
    connection_->Logoff();
    return false;
  }
  caption_ = connection_->Session()->CompanyID() + " - " + kProgramTitle;
  bool taxServices = false;
  try {
    taxServices = IsModuleActive(kTaxServicesCode);
  } catch (const std::exception& error) {
    // The company's database cannot be reached (a full disk, a missing file): the operator
    // must see why, not a general failure.
    connection_->PutError(error.what());
    connection_->ShowErrors();
    connection_->Logoff();
    return false;
  }
  if (!taxServices) {
    connection_->PutError("Incorrect procedure. Tax Services is not active for this company.");
    connection_->ShowErrors();
    connection_->Logoff();
    return false;
  }
  if (!OpenDataSources()) {
    connection_->Logoff();
    return false;
  }
  engine_ = std::make_unique<convert::ConversionEngine>(*connection_, runState_, progressBar_,
                                                        txtProcessing_, services_.pump);
  run_ =
      std::make_unique<convert::ConversionRun>(*this, *connection_, *engine_, [this] { Unload(); });
  for (int index = 0; index < tabs_.Tabs(); ++index) {
    if (!tabs_.TabEnabled(index)) continue;
    const std::string& code = Tabs()[static_cast<std::size_t>(index)].code;
    BuildTab(code);
    for (const SectionDef& section : Sections()) {
      if (section.tab != code) continue;
      for (const std::string& box : section.checkBoxes) checkBoxes_.at(box).Click();
    }
  }
  return true;
}

bool Form1::CheckSiteConfiguration() {
  try {
    host::AccpacSiteCnfg config(services_.readPaths());
    if (!config.OPEN_()) return false;
    config.OrgID("");
    const bool read = config.Get_();
    config.CLOSE_();
    return read;
  } catch (const std::exception&) {
    return false;
  }
}

bool Form1::IsModuleActive(const std::string& code) {
  auto link = connection_->CompanyDBLinkRW();
  const int count = link->ActiveApplicationCount();
  for (int i = 0; i < count; ++i) {
    if (link->ApplicationID(i) == code && link->ApplicationSecondID(i) == code) return true;
  }
  return false;
}

bool Form1::OpenDataSources() {
  // The ERP's own message says what went wrong; the operator sees it before the program ends.
  auto open = [this](const std::string& name) {
    return host::ShowErrorsOf(*connection_, [&] {
      host::DataSource& source = *sources_.at(name);
      if (source.IsOpen()) return;
      source.SetDBLink(connection_->CompanyDBLinkRW());
      for (const DataSourceDef& def : DataSources()) {
        if (def.name == name && !def.parent.empty())
          source.SetParent(sources_.at(def.parent).get());
      }
      source.SetOpen(true);
    });
  };
  for (const std::string& name : TaxSources()) {
    if (!open(name)) return false;
  }
  for (std::size_t index = 0; index < Tabs().size(); ++index) {
    const TabDef& tab = Tabs()[index];
    tabs_.SetTabEnabled(static_cast<int>(index), IsModuleActive(tab.code));
    if (!tabs_.TabEnabled(static_cast<int>(index))) continue;
    for (const std::string& name : tab.sources) {
      if (!open(name)) return false;
    }
  }
  OpenItemsForPurchaseOrders();
  return true;
}

void Form1::OpenItemsForPurchaseOrders() {
  // Contract costs are filtered by item number in the ERP's unformatted form, which only the
  // items view knows; without Inventory Control it is opened for Purchase Orders alone. Where
  // it cannot be opened the item numbers are used as typed.
  const auto po = std::find_if(Tabs().begin(), Tabs().end(),
                               [](const TabDef& tab) { return tab.code == "PO"; });
  host::DataSource& items = *sources_.at("adsICITEM");
  if (!tabs_.TabEnabled(static_cast<int>(po - Tabs().begin())) || items.IsOpen()) return;
  try {
    items.SetDBLink(connection_->CompanyDBLinkRW());
    items.SetOpen(true);
  } catch (const host::HostError&) {
    connection_->ClearErrors();
  }
}

void Form1::CloseDataSources() {
  criteria_.clear();
  taxGroupGrids_.clear();
  authorityGrids_.clear();
  for (const DataSourceDef& def : DataSources()) {
    try {
      sources_.at(def.name)->SetOpen(false);
    } catch (const std::exception&) {
      // Shutting down goes on whatever a data source says.
    }
  }
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

void Form1::BuildTab(const std::string& code) {
  for (const TaxGroupGridDef& def : TaxGroupGrids()) {
    if (def.tab == code) BuildTaxGroupGrid(def);
  }
  for (const RangePairDef& pair : RangePairs()) {
    if (pair.tab != code) continue;
    for (const TaxAuthorityGridDef& def : TaxAuthorityGrids()) {
      if (def.beforePair == pair.from && !authorityGrids_.contains(def.name)) {
        for (const TaxAuthorityGridDef& same : TaxAuthorityGrids()) {
          if (same.tab == code && same.beforePair == pair.from) BuildTaxAuthorityGrid(same);
        }
      }
    }
    PrepareRangePair(pair);
  }
}

void Form1::BuildTaxGroupGrid(const TaxGroupGridDef& def) {
  auto grid = std::make_unique<grids::TaxGroupGrid>(services_.host.newErrorDisplay);
  grid->Name(def.frameCaption);
  grid->Grid(def.gridControl.empty() ? nullptr : gridControls_.at(def.gridControl).get());
  grid->adsTXGRP(sources_.at("adsTXGRP").get());
  grid->afecTaxGroup(edits_.at(def.taxGroupControl).get());
  grid->Caption(def.caption);
  grid->TransactionType(def.transactionType);
  if (!def.gridControl.empty()) {
    grid->adsTXCLASS(sources_.at("adsTXCLASS").get());
    grid->AddTaxClassColumn("Tax Class", 90, def.transactionType, 1);
  }
  taxGroupGrids_[def.name] = std::move(grid);
}

void Form1::BuildTaxAuthorityGrid(const TaxAuthorityGridDef& def) {
  auto grid = std::make_unique<grids::TaxAuthorityGrid>(services_.host.newErrorDisplay);
  grid->Name(def.frameCaption);
  grid->Grid(gridControls_.at(def.gridControl).get());
  grid->adsTXAUTH(sources_.at("adsTXAUTH").get());
  grid->adsTXCLASS(sources_.at("adsTXCLASS").get());
  AddAuthorityColumns(*grid, def);
  authorityGrids_[def.name] = std::move(grid);
}

void Form1::PrepareRangePair(const RangePairDef& pair) {
  host::DataSource& source = *sources_.at(pair.source);
  const host::Field field = source.Fields(pair.field);
  bool shown = true;
  if (pair.shown == Visibility::WhenAROption) shown = ReadAROptionFlag();
  if (pair.shown == Visibility::WhenICOption) shown = ReadICOptionFlag();
  for (const auto& [name, fill] : {std::pair{pair.from, ""}, std::pair{pair.to, "Z"}}) {
    host::FieldEditControl& edit = *edits_.at(name);
    DefineRangeField(edit, field, fill);
    SetupFinder(edit, pair.finder, pair.order);
    if (pair.shown != Visibility::Always) edit.SetVisible(shown);
  }
  if (!pair.firstOfBox) return;
  for (const CriteriaDef& def : CriteriaFields()) {
    if (def.editControl != pair.to) continue;
    auto criteria = std::make_unique<grids::CriteriaField>(services_.filterWindow);
    criteria->DataSource(sources_.at(def.source).get());
    criteria->EditControl(edits_.at(def.editControl).get());
    criteria_[def.name] = std::move(criteria);
  }
}

void Form1::DefineRangeField(host::FieldEditControl& edit, const host::Field& field,
                             const std::string& fill) {
  auto standalone = std::make_shared<host::StandaloneField>();
  standalone->DefineLike(field);
  standalone->SetAttributeValue(6);
  std::string value;
  if (!fill.empty()) {
    for (int i = 0; i < field.Size(); ++i) value += fill;
  }
  standalone->PutWithoutVerification(value);
  edit.SetAccpacField(host::AccpacField(standalone));
  edit.SetLeftLabel(edit.Tag());
}

void Form1::SetupFinder(host::FieldEditControl& edit, FinderKind kind, std::int32_t order) {
  const FinderSetup& setup = FinderSetupOf(kind);
  host::ViewFinder finder = edit.ViewFinder();
  finder.ViewID = setup.viewId;
  finder.ViewOrder = order;
  finder.InitKeyType = 1;
  finder.DisplayFieldIDs = order == 0 ? setup.display : std::vector<int>{};
  finder.SearchFieldIDs = order == 0 ? setup.search : std::vector<int>{};
  finder.ReturnFieldIDs = order == 0 ? setup.returned : std::vector<int>{};
  edit.SetViewFinder(std::move(finder));
}

void Form1::CheckBoxClicked(const std::string& box) {
  const bool checked = checkBoxes_.at(box).Value() == 1;
  host::FieldEditControl* first = nullptr;
  for (const RangePairDef& pair : RangePairs()) {
    if (pair.checkBox != box) continue;
    for (const std::string& name : {pair.from, pair.to}) {
      host::FieldEditControl& edit = *edits_.at(name);
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
      return *edits_.at(shared.name);
    case SharedControlKind::MappingGrid:
      return *gridControls_.at(shared.name);
  }
  throw std::logic_error("Unknown kind of shared control " + shared.name + ".");
}

bool Form1::ReadOptionFlag(const std::string& viewId, int field) {
  const std::vector<host::Variant> values =
      connection_->CompanyDBLinkRW()->ReadOptionValues(viewId, {field});
  return !values.empty() && host::VariantBoolean(values.front());
}

bool Form1::ReadAROptionFlag() {
  return ReadOptionFlag("AR0001", 6);
}

bool Form1::ReadICOptionFlag() {
  return ReadOptionFlag("IC0380", 25);
}

void Form1::OnValueChanged(host::FieldEditControl& edit) {
  // Setting the formatted value must not start another round of formatting.
  if (formatting_) return;
  formatting_ = true;
  try {
    FormatItemNumberField(edit);
  } catch (const host::HostError&) {
    // An item number the ERP cannot look up stays as the operator typed it.
  }
  formatting_ = false;
}

void Form1::FormatItemNumberField(host::FieldEditControl& edit) {
  const std::string value = edit.Value();
  host::DataSource& items = *sources_.at("adsICITEM");
  if (value.empty() || !items.IsOpen()) return;
  items.Fields(1).PutWithoutVerification(value);
  if (items.Read()) edit.SetValue(items.Fields(7).Text());
}

std::string Form1::UnformatItemNumber(const std::string& text) {
  return convert::UnformatItemNumber(*sources_.at("adsICITEM"), text);
}

void Form1::ShowAbout() {
  if (!services_.about) return;
  about::frmAbout window(*services_.about);
  window.Form_Load();
  window.Form_Activate();
  services_.showAbout(window);
}

host::MenuItem& Form1::MenuItemNamed(const std::string& name) {
  return Find(menus_, name);
}

host::GridControl& Form1::GridControlNamed(const std::string& name) {
  return *Find(gridControls_, name);
}

bool Form1::Built(const std::string& name) const {
  return taxGroupGrids_.contains(name) || authorityGrids_.contains(name) ||
         criteria_.contains(name);
}

host::FieldEditControl& Form1::RangeControl(const std::string& name) {
  return *Find(edits_, name);
}

host::DataSource& Form1::Source(const std::string& name) {
  return *Find(sources_, name);
}

grids::TaxGroupGrid& Form1::TaxGroupGridNamed(const std::string& name) {
  return *Find(taxGroupGrids_, name);
}

grids::TaxAuthorityGrid& Form1::TaxAuthorityGridNamed(const std::string& name) {
  return *Find(authorityGrids_, name);
}

grids::CriteriaField& Form1::Criteria(const std::string& name) {
  return *Find(criteria_, name);
}

host::CheckBox& Form1::CheckBoxNamed(const std::string& name) {
  return Find(checkBoxes_, name);
}

}  // namespace app
