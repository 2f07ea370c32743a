#pragma once

#include "host/DataSource.h"

#include <string>

namespace host {

/// The ERP's filter window: the operator builds a browse filter for the records of a view.
class FilterWindow {
 public:
  virtual ~FilterWindow() = default;

  /// Shows the window (modal) on `source`, starting from `startingFilter`, and returns the filter
  /// the operator left in it, whole; the empty text means no filter.
  virtual std::string Choose(DataSource& source, const std::string& startingFilter) = 0;
};

}  // namespace host
