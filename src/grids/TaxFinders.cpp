#include "grids/TaxFinders.h"

#include <algorithm>
#include <stdexcept>

namespace grids {

const std::vector<TaxFinderSetup>& TaxFinderSetups() {
  // The tax-group finder offers sales groups also to purchases mappings, as the ERP's own
  // tax-group screens do; the mapping's validation still reads its own transaction type.
  static const std::vector<TaxFinderSetup> setups = {
      {TaxFinderView::TaxGroups,
       "TX0003",
       1,
       "TTYPE=1",
       {1, 3, 4, 5, 6, 7, 8, 9, 15, 16},
       {1, 3, 4, 5, 6, 7, 8, 9},
       {1}},
      {TaxFinderView::TaxClasses, "TX0001", 3, std::nullopt, {4, 5, 6}, {5}, {4}},
      {TaxFinderView::TaxAuthorities, "TX0002", 1, std::nullopt, {1, 2}, {2}, {1}},
  };
  return setups;
}

void SetupTaxFinder(host::FieldEditControl& control, TaxFinderView view, int viewOrder) {
  const auto& setups = TaxFinderSetups();
  auto setup = std::find_if(setups.begin(), setups.end(),
                            [view](const TaxFinderSetup& entry) { return entry.view == view; });
  if (setup == setups.end()) throw std::logic_error("No finder set-up for this tax view.");
  host::ViewFinder finder = control.ViewFinder();
  finder.ViewID = setup->viewId;
  finder.ViewOrder = viewOrder;
  finder.InitKeyType = setup->initKeyType;
  if (setup->filter) finder.Filter = *setup->filter;
  if (viewOrder == 0) {
    finder.DisplayFieldIDs = setup->displayFieldIDs;
    finder.SearchFieldIDs = setup->searchFieldIDs;
    finder.ReturnFieldIDs = setup->returnFieldIDs;
  } else {
    finder.DisplayFieldIDs.clear();
    finder.SearchFieldIDs.clear();
    finder.ReturnFieldIDs.clear();
  }
  control.SetViewFinder(std::move(finder));
}

}  // namespace grids
