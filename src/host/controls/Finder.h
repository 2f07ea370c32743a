#pragma once

#include "host/DataSource.h"
#include "host/Signal.h"
#include "host/controls/ViewFinder.h"

#include <deque>
#include <string>
#include <vector>

namespace host {

/// One record offered by a finder.
struct FinderRow {
  std::vector<std::string> cells;  ///< the display fields, in column order
  std::string returnValue;         ///< the value the finder gives back for this record
  /// The record's place in the list: its values of the view order's key, then of the rest of
  /// the primary key, so that every record has its own place.
  std::vector<Variant> position;
};

/// How a search matches the text the operator typed in a text field.
enum class SearchMode { Contains, StartsWith };

/// What the operator looks for: a text in one of the finder's search fields (0: no search).
/// A number field matches the number typed, in either mode.
struct FinderSearch {
  int field = 0;
  std::string text;
  SearchMode mode = SearchMode::Contains;
};

/// How many records a finder reads at a time, and how many such pages it holds at most.
struct FinderPaging {
  int pageRows = 100;
  int pagesHeld = 4;
};

/// A change of the rows a finder holds: rows inserted or removed at `first`, or all replaced.
struct FinderRowsChange {
  enum Kind { Reset, Insert, Remove };
  Kind kind = Reset;
  int first = 0;
  int count = 0;
};

/// The records an edit control's finder offers, read from a data source of the finder's view
/// that the caller opened, a page at a time in the view order's key order, continuing from the
/// last record's key as the data sources' browse does, so that a list of any length opens at
/// once. It holds a window of at most `pagesHeld` pages: reading on at one end drops rows at the
/// other. The dialog that shows them belongs to the GUI.
class Finder {
 public:
  Finder(ViewFinder settings, DataSource& source, FinderPaging paging = {});

  /// Column captions: the descriptions of the display fields.
  std::vector<std::string> Captions() const;
  /// The browse filter of a listing: the finder's filter and, when `searchField` is not 0, the
  /// search of `searchText` in that field (a part of a text, or a whole number). A text field
  /// that is not a key is searched in any letter case: its letters are left open here and each
  /// record read is checked.
  std::string ListFilter(int searchField, const std::string& searchText) const;
  /// The browse filter of a listing with `search`; a field that is not one of the search fields
  /// raises HostError.
  std::string ListFilter(const FinderSearch& search) const;

  /// Opens the list at the initial key: a page before it and a page from it on. A search field
  /// that is not one of the search fields raises HostError and keeps the rows held.
  void Refresh(const FinderSearch& search);
  /// Refresh with a search for a part of `searchText` in `searchField`.
  void Refresh(int searchField = 0, const std::string& searchText = {});
  /// Reads the page after the last row held; false when there was none.
  bool FetchAfter();
  /// Reads the page before the first row held; false when there was none.
  bool FetchBefore();
  /// Whether rows may follow the last row held.
  bool MoreAfter() const { return moreAfter_; }
  /// Whether rows may precede the first row held.
  bool MoreBefore() const { return moreBefore_; }

  const std::deque<FinderRow>& Rows() const { return rows_; }
  /// The row the list started at: the first whose key is not below the initial key value (the
  /// last row when every row is below it); -1 once that row is no longer held.
  int InitialRow() const { return initialRow_; }
  /// The return field's value of row `row`; a row outside the rows held raises HostError.
  std::string Choose(int row) const;

  /// Up to `count` records of the current listing after `position`, in list order.
  std::vector<FinderRow> PageAfter(const std::vector<Variant>& position, int count);
  /// Up to `count` records of the current listing before `position`, in list order.
  std::vector<FinderRow> PageBefore(const std::vector<Variant>& position, int count);

  /// Raised before the rows held change, so that a view can prepare.
  Signal<const FinderRowsChange&> RowsAboutToChange;
  /// Raised after the rows held changed.
  Signal<const FinderRowsChange&> RowsChanged;

 private:
  enum class Bound { After, From, Before };
  /// The part of a search the browse filter cannot check: a LIKE pattern in lower case that a
  /// field's text must match in lower case (field 0: none).
  struct TextMatch {
    int field = 0;
    std::string pattern;
  };

  static std::string SearchPattern(const FinderSearch& search);
  /// Whether the search ignores letter case: a text field that is not part of the primary key.
  bool IgnoresCase(const FinderSearch& search) const;
  TextMatch MatchOf(const FinderSearch& search) const;
  bool Matches(const TextMatch& match);
  /// A field's text, or the presentation text of its value where the field has a list.
  std::string ShownText(int field);

  const Key& OrderKey() const;
  std::vector<int> ListOrder() const;
  std::vector<int> DisplayFields() const;
  int ReturnField() const;
  std::vector<FinderRow> ReadPage(const std::string& filter, const TextMatch& match,
                                  const std::vector<Variant>& position, int count, Bound bound);
  size_t PutStart(const std::vector<Variant>& position);
  FinderRow CurrentRow(std::vector<Variant> position, const std::vector<int>& display,
                       int returned);
  void Insert(int first, std::vector<FinderRow> rows);
  void Remove(int first, int count);
  void KeepWithinBound(bool dropFront);

  ViewFinder settings_;
  DataSource& source_;
  FinderPaging paging_;
  std::string filter_;
  TextMatch match_;
  std::deque<FinderRow> rows_;
  int initialRow_ = 0;
  bool moreBefore_ = false;
  bool moreAfter_ = false;
};

}  // namespace host
