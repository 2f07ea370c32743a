#pragma once

#include "host/Variant.h"

#include <string>
#include <vector>

namespace host {

/// What an edit control's finder looks up: the view, its order, the records offered and the
/// field whose value comes back into the control.
struct ViewFinder {
  std::string ViewID;
  /// Number of the key the records are listed in.
  int ViewOrder = 0;
  /// How the initial key value is taken (kept for the finder dialog).
  int InitKeyType = 0;
  /// Browse filter of the records offered; empty offers all.
  std::string Filter;
  /// Fields shown as columns; empty shows the fields of the view order's key.
  std::vector<int> DisplayFieldIDs;
  /// Fields the operator may search in; empty allows no search.
  std::vector<int> SearchFieldIDs;
  /// The field whose value is returned; empty returns the first field of the view order's key.
  std::vector<int> ReturnFieldIDs;
  /// Key values of the record the list starts at, in key order.
  std::vector<Variant> InitKeyValue;

  bool operator==(const ViewFinder&) const = default;
};

}  // namespace host
