#pragma once

#include "convert/ConversionRequest.h"
#include "convert/KindControls.h"
#include "grids/ErrorReporter.h"
#include "host/AccpacConnection.h"

#include <functional>
#include <string>
#include <vector>

namespace convert {

/// The error display of a set of controls that a request is entered into: what the controls
/// put into the error list goes there as usual, and what they would show the operator is kept
/// instead, so that each message can be told with the value that caused it.
class CapturedErrors {
 public:
  explicit CapturedErrors(host::AccpacConnection& connection) : connection_(connection) {}
  /// Makes displays that report here.
  grids::ErrorDisplayFactory Factory();
  /// The messages shown since the last call.
  std::vector<std::string> Take();

 private:
  class Display;

  host::AccpacConnection& connection_;
  std::vector<std::string> shown_;
};

/// Enters `request` into `controls` as an operator would: the kinds' ranges and criteria, each
/// mapping's tax group (left so that the mapping validates it) and classes, each operations
/// grid's rows, cell by cell through the grid's own editors. Returns every entry the controls
/// refused or did not take as written, each as "file:line: problem"; an empty list means the
/// controls hold exactly what the request says.
std::vector<std::string> EnterRequest(const ConversionRequest& request, KindControls& controls,
                                      CapturedErrors& shown);

/// The request the controls of tab `tab` hold now: every kind of the tab, checked as `checked`
/// says, with its ranges and criteria; every mapping of the tab with its tax group and classes;
/// every operations grid of the tab with its rows.
ConversionRequest ReadRequest(KindControls& controls, int tab,
                              const std::function<bool(const std::string& checkBox)>& checked);

}  // namespace convert
