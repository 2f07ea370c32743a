#pragma once

#include "host/controls/FieldEditControl.h"

#include <optional>
#include <string>
#include <vector>

namespace grids {

/// The tax views an edit control's finder can look up.
enum class TaxFinderView { TaxGroups, TaxClasses, TaxAuthorities };

/// How a finder on one tax view is set up.
struct TaxFinderSetup {
  TaxFinderView view;
  std::string viewId;
  int initKeyType;
  std::optional<std::string> filter;  ///< left as it is when not given
  std::vector<int> displayFieldIDs;
  std::vector<int> searchFieldIDs;
  std::vector<int> returnFieldIDs;
};

/// The finder set-ups of the three tax views.
const std::vector<TaxFinderSetup>& TaxFinderSetups();

/// Points the control's finder at a tax view; the field lists are set only for view order 0 and
/// emptied for any other order.
void SetupTaxFinder(host::FieldEditControl& control, TaxFinderView view, int viewOrder);

/// The tax-group finder (tax groups view, sales groups).
inline void SetupTaxGroupFinder(host::FieldEditControl& control, int viewOrder) {
  SetupTaxFinder(control, TaxFinderView::TaxGroups, viewOrder);
}
/// The tax-class finder (tax classes view).
inline void SetupTaxClassFinder(host::FieldEditControl& control, int viewOrder) {
  SetupTaxFinder(control, TaxFinderView::TaxClasses, viewOrder);
}
/// The tax-authority finder (tax authorities view).
inline void SetupTaxAuthorityFinder(host::FieldEditControl& control, int viewOrder) {
  SetupTaxFinder(control, TaxFinderView::TaxAuthorities, viewOrder);
}

}  // namespace grids
