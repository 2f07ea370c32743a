#include "standin/catalog/ViewCatalog.h"

#include "standin/catalog/CatalogViews.h"

#include <set>
#include <stdexcept>
#include <utility>

namespace erp {

namespace {

void checkView(const ViewDef& view) {
  if (view.description.empty()) {
    throw std::invalid_argument("View " + view.id + " has no description");
  }
  std::set<std::string> names;
  for (size_t i = 0; i < view.fields.size(); ++i) {
    const FieldDef& field = view.fields[i];
    if (field.number != static_cast<int>(i + 1)) {
      throw std::invalid_argument("View " + view.id + ": field " + field.name + " is numbered " +
                                  std::to_string(field.number) + " at position " +
                                  std::to_string(i + 1));
    }
    if (!names.insert(field.name).second) {
      throw std::invalid_argument("View " + view.id + ": field name " + field.name +
                                  " is used twice");
    }
  }
  for (const KeyDef& key : view.keys) {
    for (int number : key.fields) {
      if (view.field(number) == nullptr) {
        throw std::invalid_argument("View " + view.id + ": key " + key.name + " names field " +
                                    std::to_string(number) + ", which the view does not have");
      }
    }
  }
}

std::vector<ViewDef> standardViews() {
  std::vector<ViewDef> all;
  for (auto part : {taxViews, commonViews, apViews, arViews, icViews, oeViews, poViews, bkViews}) {
    for (ViewDef& view : part()) all.push_back(std::move(view));
  }
  return all;
}

}  // namespace

const ViewCatalog& ViewCatalog::standard() {
  static const ViewCatalog catalog(standardViews());
  return catalog;
}

ViewCatalog::ViewCatalog(std::vector<ViewDef> views) : views_(std::move(views)) {
  for (size_t i = 0; i < views_.size(); ++i) {
    checkView(views_[i]);
    if (!index_.emplace(views_[i].id, i).second) {
      throw std::invalid_argument("View " + views_[i].id + " is declared twice");
    }
  }
}

const ViewDef* ViewCatalog::find(const std::string& viewId) const {
  auto it = index_.find(viewId);
  return it == index_.end() ? nullptr : &views_[it->second];
}

const ViewDef& ViewCatalog::get(const std::string& viewId) const {
  const ViewDef* view = find(viewId);
  if (view == nullptr) throw std::out_of_range("Unknown view " + viewId);
  return *view;
}

}  // namespace erp
