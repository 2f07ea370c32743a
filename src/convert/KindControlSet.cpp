#include "convert/KindControlSet.h"

#include "convert/AuthorityColumns.h"
#include "convert/TargetProcedures.h"
#include "host/HostError.h"
#include "host/controls/StandaloneField.h"

#include <stdexcept>

namespace convert {
namespace {

bool ReadOptionFlag(host::AccpacConnection& connection, const std::string& viewId, int field) {
  const std::vector<host::Variant> values =
      connection.CompanyDBLinkRW()->ReadOptionValues(viewId, {field});
  return !values.empty() && host::VariantBoolean(values.front());
}

/// The items view's item number as it is shown (kItemNumberField is as the ERP keeps it).
constexpr int kFormattedItemNumberField = 7;

}  // namespace

bool IsModuleActive(host::AccpacConnection& connection, const std::string& code) {
  auto link = connection.CompanyDBLinkRW();
  const int count = link->ActiveApplicationCount();
  for (int i = 0; i < count; ++i) {
    if (link->ApplicationID(i) == code && link->ApplicationSecondID(i) == code) return true;
  }
  return false;
}

KindControlSet::KindControlSet(ControlParts parts) : parts_(std::move(parts)) {
  for (const SourceDef& def : AllSources()) {
    sources_[def.name] = parts_.dataSources.NewDataSource(def.view);
  }
  for (const RangePairDef& pair : RangePairs()) {
    for (const auto& [name, label] :
         {std::pair{pair.from, pair.fromLabel}, std::pair{pair.to, pair.toLabel}}) {
      auto& edit = edits_[name] = std::make_unique<host::FieldEditControl>();
      edit->SetTag(label);
      if (pair.itemNumber) edit->AddListener(this);
    }
  }
  for (const MappingDef& mapping : Mappings()) {
    for (const std::string& name : mapping.SharedControls()) {
      if (name == mapping.from.taxGroupControl || name == mapping.to.taxGroupControl) {
        edits_[name] = std::make_unique<host::FieldEditControl>();
      } else {
        gridControls_[name] = std::make_unique<host::GridControl>();
      }
    }
  }
}

KindControlSet::~KindControlSet() {
  // The mappings and criteria fields listen to the controls, which listen to this set.
  Release();
  for (const RangePairDef& pair : RangePairs()) {
    if (!pair.itemNumber) continue;
    for (const std::string* name : {&pair.from, &pair.to}) edits_.at(*name)->RemoveListener(this);
  }
}

void KindControlSet::Open(host::AccpacConnection& connection, const SourceDef& def) {
  host::DataSource& source = *sources_.at(def.name);
  if (source.IsOpen()) return;
  source.SetDBLink(connection.CompanyDBLinkRW());
  if (!def.parent.empty()) source.SetParent(sources_.at(def.parent).get());
  source.SetOpen(true);
}

void KindControlSet::OpenItemsFor(host::AccpacConnection& connection, const std::string& tab) {
  bool itemNumbers = false;
  for (const RangePairDef& pair : RangePairs()) itemNumbers |= pair.tab == tab && pair.itemNumber;
  host::DataSource& items = *sources_.at(kItemsSource);
  if (!itemNumbers || items.IsOpen()) return;
  try {
    items.SetDBLink(connection.CompanyDBLinkRW());
    items.SetOpen(true);
  } catch (const host::HostError&) {
    connection.ClearErrors();
  }
}

void KindControlSet::BuildTab(host::AccpacConnection& connection, const std::string& tab) {
  for (const MappingDef& mapping : Mappings()) {
    if (mapping.tab != tab) continue;
    if (mapping.type == ConversionType::TaxGroup) {
      BuildTaxGroupGrid(mapping, mapping.from);
      BuildTaxGroupGrid(mapping, mapping.to);
    } else {
      BuildTaxAuthorityGrid(mapping);
    }
  }
  for (const KindDef* kind : TabKinds(tab)) {
    for (const RangePairDef& pair : kind->ranges) PrepareRangePair(connection, *kind, pair);
  }
}

void KindControlSet::Release() {
  criteria_.clear();
  taxGroupGrids_.clear();
  authorityGrids_.clear();
  for (auto& [name, source] : sources_) {
    try {
      source->SetOpen(false);
    } catch (const std::exception&) {
      // Shutting down goes on whatever a data source says.
    }
  }
}

void KindControlSet::BuildTaxGroupGrid(const MappingDef& mapping, const TaxGroupSideDef& side) {
  auto grid = std::make_unique<grids::TaxGroupGrid>(parts_.newErrorDisplay);
  grid->Name(mapping.caption);
  grid->Grid(side.gridControl.empty() ? nullptr : gridControls_.at(side.gridControl).get());
  grid->adsTXGRP(sources_.at("adsTXGRP").get());
  grid->afecTaxGroup(edits_.at(side.taxGroupControl).get());
  grid->Caption(side.caption);
  grid->TransactionType(mapping.transactionType);
  if (!side.gridControl.empty()) {
    grid->adsTXCLASS(sources_.at("adsTXCLASS").get());
    grid->AddTaxClassColumn("Tax Class", 90, mapping.transactionType, 1);
  }
  taxGroupGrids_[side.name] = std::move(grid);
}

void KindControlSet::BuildTaxAuthorityGrid(const MappingDef& mapping) {
  auto grid = std::make_unique<grids::TaxAuthorityGrid>(parts_.newErrorDisplay);
  grid->Name(mapping.caption);
  grid->Grid(gridControls_.at(mapping.gridControl).get());
  grid->adsTXAUTH(sources_.at("adsTXAUTH").get());
  grid->adsTXCLASS(sources_.at("adsTXCLASS").get());
  AddAuthorityColumns(*grid, mapping);
  authorityGrids_[mapping.grid] = std::move(grid);
}

void KindControlSet::PrepareRangePair(host::AccpacConnection& connection, const KindDef& kind,
                                      const RangePairDef& pair) {
  host::DataSource& source = *sources_.at(pair.source);
  const host::Field field = source.Fields(pair.field);
  bool shown = true;
  if (pair.shown == Visibility::WhenAROption) shown = ReadAROptionFlag(connection);
  if (pair.shown == Visibility::WhenICOption) shown = ReadICOptionFlag(connection);
  for (const auto& [name, fill] : {std::pair{pair.from, ""}, std::pair{pair.to, "Z"}}) {
    host::FieldEditControl& edit = *edits_.at(name);
    DefineRangeField(edit, field, fill);
    SetupFinder(edit, pair.finder, pair.order);
    if (pair.shown != Visibility::Always) edit.SetVisible(shown);
  }
  if (!pair.firstOfBox) return;
  // The kind's criteria sit on the "to" control of its first pair.
  auto criteria = std::make_unique<grids::CriteriaField>(parts_.filterWindow);
  criteria->DataSource(sources_.at(kind.headerSource).get());
  criteria->EditControl(edits_.at(pair.to).get());
  criteria_[kind.criteria] = std::move(criteria);
}

void KindControlSet::DefineRangeField(host::FieldEditControl& edit, const host::Field& field,
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

void KindControlSet::SetupFinder(host::FieldEditControl& edit, FinderKind kind,
                                 std::int32_t order) {
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

bool KindControlSet::ReadAROptionFlag(host::AccpacConnection& connection) {
  return ReadOptionFlag(connection, "AR0001", 6);
}

bool KindControlSet::ReadICOptionFlag(host::AccpacConnection& connection) {
  return ReadOptionFlag(connection, "IC0380", 25);
}

void KindControlSet::OnValueChanged(host::FieldEditControl& edit) {
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

void KindControlSet::FormatItemNumberField(host::FieldEditControl& edit) {
  const std::string value = edit.Value();
  host::DataSource& items = *sources_.at(kItemsSource);
  if (value.empty() || !items.IsOpen()) return;
  items.Fields(kItemNumberField).PutWithoutVerification(value);
  if (items.Read()) edit.SetValue(items.Fields(kFormattedItemNumberField).Text());
}

host::FieldEditControl& KindControlSet::RangeControl(const std::string& name) {
  return *FindControl(edits_, name);
}

host::DataSource& KindControlSet::Source(const std::string& name) {
  return *FindControl(sources_, name);
}

grids::TaxGroupGrid& KindControlSet::TaxGroupGridNamed(const std::string& name) {
  return *FindControl(taxGroupGrids_, name);
}

grids::TaxAuthorityGrid& KindControlSet::TaxAuthorityGridNamed(const std::string& name) {
  return *FindControl(authorityGrids_, name);
}

grids::CriteriaField& KindControlSet::Criteria(const std::string& name) {
  return *FindControl(criteria_, name);
}

host::GridControl& KindControlSet::GridControlNamed(const std::string& name) {
  return *FindControl(gridControls_, name);
}

bool KindControlSet::Built(const std::string& name) const {
  return taxGroupGrids_.contains(name) || authorityGrids_.contains(name) ||
         criteria_.contains(name);
}

}  // namespace convert
