#include "host/standin/StandinDataSource.h"

#include "host/HostError.h"

#include "standin/database/ValueText.h"
#include "standin/filter/Filter.h"

#include <algorithm>
#include <stdexcept>

namespace host::standin {
namespace {

FieldType HostType(erp::FieldType type) {
  switch (type) {
    case erp::FieldType::Text:
      return FieldType::Text;
    case erp::FieldType::Int16:
      return FieldType::Int16;
    case erp::FieldType::Int32:
      return FieldType::Int32;
    case erp::FieldType::Decimal:
      return FieldType::Decimal;
    case erp::FieldType::Date:
      return FieldType::Date;
    case erp::FieldType::Boolean:
      return FieldType::Boolean;
  }
  return FieldType::Text;
}

std::vector<PresentationEntry> Presentation(const erp::FieldDef& field) {
  std::vector<PresentationEntry> entries;
  for (const erp::PresentationItem& item : field.presentation) {
    entries.push_back({item.value, item.text});
  }
  return entries;
}

const erp::ViewDef& ViewOf(const erp::ViewCatalog& catalog, const std::string& viewId) {
  const erp::ViewDef* view = catalog.find(viewId);
  if (!view) {
    throw HostError(StandinDataSource::kViewError, "View " + viewId + " does not exist.");
  }
  return *view;
}

}  // namespace

StandinDataSource::StandinDataSource(std::string viewId, const erp::ViewCatalog& catalog)
    : viewId_(std::move(viewId)), view_(ViewOf(catalog, viewId_)) {
  for (const erp::FieldDef& field : view_.fields) {
    fields_.push_back({field.number, field.name, field.description, HostType(field.type),
                       field.size, Presentation(field)});
    numbers_.emplace(field.name, field.number);
  }
  for (const erp::KeyDef& key : view_.keys) keys_.push_back({key.name, key.fields});
}

StandinDataSource::~StandinDataSource() {
  for (StandinDataSource* child : children_) child->parent_ = nullptr;
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

template <typename Action>
auto StandinDataSource::Guarded(Action action) const -> decltype(action()) {
  try {
    return action();
  } catch (const HostError&) {
    throw;
  } catch (const std::exception& error) {
    throw HostError(kViewError, error.what(), "ERP." + viewId_);
  }
}

void StandinDataSource::SetDBLink(std::shared_ptr<DatabaseLink> link) {
  auto standin = std::dynamic_pointer_cast<StandinDatabaseLink>(link);
  if (!standin) throw HostError(kViewError, "Not a database link of the stand-in ERP.");
  link_ = std::move(standin);
}

void StandinDataSource::SetParent(host::DataSource* parent) {
  auto* standin = dynamic_cast<StandinDataSource*>(parent);
  if (parent && !standin) throw HostError(kViewError, "Not a data source of the stand-in ERP.");
  parent_ = standin;
  if (parent_) parent_->children_.push_back(this);
}

void StandinDataSource::SetOpen(bool open) {
  if (!open) {
    for (StandinDataSource* child : children_) child->source_.reset();
    source_.reset();
    return;
  }
  if (source_) return;
  if (!link_) throw HostError(kViewError, "View " + viewId_ + " has no database link.");
  Guarded([&] {
    auto link = link_->ErpLink();
    source_ = std::make_unique<erp::DataSource>(link->database(), link->errors(), link->readOnly(),
                                                viewId_);
    // Composition follows the view's own header: a data source configured under another
    // parent (an optional-field view, say) simply reads on its own.
    if (parent_ && parent_->source_ && view_.composition &&
        view_.composition->headerView == parent_->viewId_) {
      parent_->source_->composeDetail(*source_);
    }
    return 0;
  });
}

erp::DataSource& StandinDataSource::Open() const {
  if (!source_) throw HostError(kViewError, "View " + viewId_ + " is not open.");
  return *source_;
}

std::int32_t StandinDataSource::Count(const std::string& filter, int flags) {
  return Guarded([&] { return static_cast<std::int32_t>(Open().count(filter, flags)); });
}

std::optional<FilterProblem> StandinDataSource::CheckFilter(const std::string& filter) const {
  try {
    erp::compileFilter(view_, filter);
  } catch (const erp::FilterError& error) {
    return FilterProblem{error.what(), error.position()};
  }
  return std::nullopt;
}

void StandinDataSource::Browse(const std::string& filter, bool ascending) {
  Guarded([&] {
    Open().browse(filter, ascending);
    return 0;
  });
}

bool StandinDataSource::Fetch(bool lock) {
  return Guarded([&] { return Open().fetch(lock); });
}

void StandinDataSource::ClearRecord() {
  Guarded([&] {
    Open().clear();
    return 0;
  });
}

bool StandinDataSource::Read() {
  return Guarded([&] { return Open().read(); });
}

bool StandinDataSource::PendingChanges() const {
  return Guarded([&] { return Open().pendingChanges(); });
}

bool StandinDataSource::DetailChanges() const {
  return Guarded([&] { return Open().detailChanges(); });
}

void StandinDataSource::Insert() {
  Guarded([&] {
    Open().insert();
    return 0;
  });
}

void StandinDataSource::Update() {
  Guarded([&] {
    Open().update();
    return 0;
  });
}

void StandinDataSource::Delete() {
  Guarded([&] {
    Open().remove();
    return 0;
  });
}

std::int32_t StandinDataSource::LastReturnCode() const {
  return Guarded([&] { return static_cast<std::int32_t>(Open().lastReturnCode()); });
}

int StandinDataSource::KeyNumber() const {
  return Guarded([&] { return Open().keyNumber(); });
}

void StandinDataSource::SetKeyNumber(int number) {
  Guarded([&] {
    Open().setKeyNumber(number);
    return 0;
  });
}

host::Session& StandinDataSource::Session() const {
  if (!link_) throw HostError(kViewError, "View " + viewId_ + " has no database link.");
  return link_->OwnerSession();
}

const FieldInfo& StandinDataSource::InfoOf(int number) const {
  if (number < 1 || number > static_cast<int>(fields_.size())) {
    throw HostError(kViewError,
                    "View " + viewId_ + " has no field number " + std::to_string(number) + ".");
  }
  return fields_[static_cast<size_t>(number - 1)];
}

int StandinDataSource::NumberOf(const std::string& name) const {
  if (auto found = numbers_.find(name); found != numbers_.end()) return found->second;
  throw HostError(kViewError, "View " + viewId_ + " has no field named " + name + ".");
}

Variant StandinDataSource::ValueOf(int number) const {
  InfoOf(number);
  return Guarded([&] { return Variant(Open().value(number)); });
}

void StandinDataSource::Put(int number, const Variant& value, bool verify) {
  InfoOf(number);
  Guarded([&] {
    Open().put(number, value, verify);
    return 0;
  });
}

void StandinDataSource::Verify(int number) {
  InfoOf(number);
  Guarded([&] {
    Open().verify(number);
    return 0;
  });
}

Variant StandinDataSource::LowestValueOf(int number) const {
  InfoOf(number);
  return erp::lowestValue(*view_.field(number));
}

}  // namespace host::standin
