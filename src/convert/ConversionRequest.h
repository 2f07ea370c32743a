#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace convert {

/// A value of a request with the line of the file it was read from; 0 when it came from no file
/// (the window's controls).
struct RequestValue {
  std::string text;
  int line = 0;
};

/// What the operator chose for one kind of record.
struct KindChoice {
  int line = 0;  ///< the section's header
  bool checked = false;
  std::map<std::string, RequestValue> ranges;  ///< range control name -> value
  RequestValue criteria;
};

/// What the operator chose in a tax-group mapping.
struct TaxGroupChoice {
  int line = 0;  ///< the section's header
  RequestValue taxGroup;
  std::vector<std::string> classes;  ///< one per authority row; empty keeps the defaults
  int classesLine = 0;
};

/// One row of an operations grid: the operation, the authority, then the grid's class and
/// tax-included cells in column order; an empty cell keeps what the grid fills in.
struct OperationRow {
  std::string key;  ///< as written, such as "Row1"
  int line = 0;
  std::vector<std::string> cells;
};

/// One class map of a tax-group mapping: a record whose classes equal `from` (one per authority
/// of the from group) gets `to` (one per authority of the to group).
struct ClassMap {
  std::vector<std::string> from;
  std::vector<std::string> to;
  int line = 0;
};

/// What a replaced authority row's tax-included field becomes.
enum class TaxIncludedRule { Keep, Yes, No };

/// Replaces a record's detail row for authority `from` by a row for `to`, its classes mapped
/// through `classes` (from class, to class).
struct AuthorityReplacement {
  RequestValue from;
  RequestValue to;
  std::vector<std::pair<std::string, std::string>> classes;
  TaxIncludedRule taxIncluded = TaxIncludedRule::Keep;
  int line = 0;
};

/// Everything one run of the conversion is given: who signs on where, which tab runs, every
/// choice of the tab's kinds, mappings and operations grids, and how the run commits. Kinds and
/// mappings are named as the kind table names them. A request read from a job file names the
/// file, and every problem found with one of its values names the file and the value's line.
struct ConversionRequest {
  /// The job file the request was read from; empty for the window's. A change file names it.
  std::string file;
  std::string company;
  std::string user;
  int tab = 0;  ///< 0 AP ... 5 BK
  int tabLine = 0;
  /// Records committed together; 0 when the request leaves the conversion's own default.
  std::int32_t recordsPerCommit = 0;
  /// Take the records through the views and save nothing.
  bool preview = false;
  std::map<std::string, KindChoice> kinds;                      ///< by check box name
  std::map<std::string, TaxGroupChoice> taxGroups;              ///< by tax-group mapping name
  std::map<std::string, std::vector<OperationRow>> operations;  ///< by grid, in row order
  /// Class maps by from mapping: a kind of that mapping converts each record by the map its
  /// classes match, and skips a record no map matches, instead of comparing the grid's classes.
  std::map<std::string, std::vector<ClassMap>> classMaps;
  /// Authority replacements by operations grid, which its kinds apply after the grid's rows; a
  /// record that has none of their authorities (and a grid without rows) is not affected.
  std::map<std::string, std::vector<AuthorityReplacement>> replacements;

  /// "file:line: ", the start of a message about that line; empty for a request of no file.
  std::string Where(int line) const {
    return file.empty() ? "" : file + ":" + std::to_string(line) + ": ";
  }
  /// Whether the kind of `checkBox` is chosen to run.
  bool Checked(const std::string& checkBox) const {
    const auto it = kinds.find(checkBox);
    return it != kinds.end() && it->second.checked;
  }
};

}  // namespace convert
