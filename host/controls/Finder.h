#pragma once

#include "host/DataSource.h"
#include "host/controls/ViewFinder.h"

#include <string>
#include <vector>

namespace host {

/// One record offered by a finder.
struct FinderRow {
  std::vector<std::string> cells;  ///< the display fields, in column order
  std::string returnValue;         ///< the value the finder gives back for this record
};

/// The records an edit control's finder offers, read from a data source of the finder's view
/// that the caller opened. The dialog that shows them belongs to the GUI.
class Finder {
 public:
  Finder(ViewFinder settings, DataSource& source);

  /// Column captions: the descriptions of the display fields.
  std::vector<std::string> Captions() const;
  /// The browse filter of a listing: the finder's filter and, when `searchField` is not 0, the
  /// search of `searchText` in that field (a part of a text, or a whole number).
  std::string ListFilter(int searchField, const std::string& searchText) const;
  /// Reads the records in the view order's key order; a search field that is not one of the
  /// search fields raises HostError.
  void Refresh(int searchField = 0, const std::string& searchText = {});
  const std::vector<FinderRow>& Rows() const { return rows_; }
  /// The row the list starts at: the first whose key is not below the initial key value.
  int InitialRow() const { return initialRow_; }
  /// The return field's value of row `row`; a row outside the list raises HostError.
  std::string Choose(int row) const;

 private:
  const Key& OrderKey() const;
  std::vector<int> DisplayFields() const;
  int ReturnField() const;

  ViewFinder settings_;
  DataSource& source_;
  std::vector<FinderRow> rows_;
  int initialRow_ = 0;
};

}  // namespace host
