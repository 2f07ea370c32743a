#pragma once

#include "standin/catalog/ViewDef.h"

#include <map>
#include <string>
#include <vector>

namespace erp {

/// Every view the stand-in ERP offers, by view ID.
class ViewCatalog {
 public:
  /// The catalog of the stand-in ERP: tax views, module views, finder and option views.
  static const ViewCatalog& standard();

  explicit ViewCatalog(std::vector<ViewDef> views);

  /// The view with this ID, or nullptr.
  const ViewDef* find(const std::string& viewId) const;
  /// The view with this ID; throws std::out_of_range naming the view when it is unknown.
  const ViewDef& get(const std::string& viewId) const;
  const std::vector<ViewDef>& views() const { return views_; }

 private:
  std::vector<ViewDef> views_;
  std::map<std::string, size_t> index_;
};

}  // namespace erp
