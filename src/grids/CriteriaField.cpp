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
}

void CriteriaField::OnButtonPressed(host::FieldEditControl&, int code) {
  if (code != host::FieldEditControl::kExtraButtonCode || !dataSource_) return;
  try {
    // The filter is taken whole: a cut one would select records the operator never chose.
    filter_ = filterWindow_.Choose(*dataSource_, filter_);
  } catch (const host::HostError&) {
    // A filter window that failed leaves the filter as it was.
  }
}

}  // namespace grids
