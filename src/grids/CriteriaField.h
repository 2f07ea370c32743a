#pragma once

#include "host/DataSource.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/FilterWindow.h"

#include <string>

namespace grids {

/// The operator's extra filter for one kind of record, chosen in the ERP's filter window from a
/// button on the kind's "to" range control. The control, the data source and the filter window
/// are owned by the caller and must outlive the object.
class CriteriaField : private host::FieldEditEvents {
 public:
  /// The label of the button added to the edit control.
  static constexpr const char* kButtonLabel = "Additional Criteria";

  explicit CriteriaField(host::FilterWindow& filterWindow) : filterWindow_(filterWindow) {}
  ~CriteriaField() override;
  CriteriaField(const CriteriaField&) = delete;
  CriteriaField& operator=(const CriteriaField&) = delete;

  host::FieldEditControl* EditControl() const { return editControl_; }
  /// Takes the control (its button presses now come here) and adds the criteria button to it.
  void EditControl(host::FieldEditControl* control);
  host::DataSource* DataSource() const { return dataSource_; }
  /// Takes the kind's data source, whose records the filter selects.
  void DataSource(host::DataSource* source) { dataSource_ = source; }
  /// The extra filter in the ERP's filter syntax; empty means none.
  const std::string& Filter() const { return filter_; }
  /// Sets the extra filter; the button shows whether there is one.
  void Filter(const std::string& filter);

 private:
  void OnButtonPressed(host::FieldEditControl& control, int code) override;
  /// The button shows as set, with the filter in its tip, while there is a filter.
  void ShowFilterOnButton();

  host::FilterWindow& filterWindow_;
  host::FieldEditControl* editControl_ = nullptr;
  host::DataSource* dataSource_ = nullptr;
  std::string filter_;
};

}  // namespace grids
