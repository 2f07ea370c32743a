#include "grids/CriteriaField.h"

#include "host/HostError.h"

namespace grids {

CriteriaField::~CriteriaField() {
  if (editControl_) editControl_->RemoveListener(this);
}

void CriteriaField::EditControl(host::FieldEditControl* control) {
  if (editControl_) editControl_->RemoveListener(this);
  editControl_ = control;
  if (!editControl_) return;
  editControl_->AddListener(this);
  editControl_->DefineButton(0, 1, kButtonLabel);
  editControl_->SetButtonCount(editControl_->ButtonCount() + 1);
  ShowFilterOnButton();
}

void CriteriaField::Filter(const std::string& filter) {
  filter_ = filter;
  ShowFilterOnButton();
}

void CriteriaField::ShowFilterOnButton() {
  if (!editControl_) return;
  editControl_->SetButtonState(0, !filter_.empty(),
                               filter_.empty() ? "" : std::string(kButtonLabel) + ": " + filter_);
}

void CriteriaField::OnButtonPressed(host::FieldEditControl&, int code) {
  if (code != host::FieldEditControl::kExtraButtonCode || !dataSource_) return;
  try {
    // The filter is taken whole: a cut one would select records the operator never chose.
    Filter(filterWindow_.Choose(*dataSource_, filter_));
  } catch (const host::HostError&) {
    // A filter window that failed leaves the filter as it was.
  }
}

}  // namespace grids
