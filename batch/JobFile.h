#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace batch {

/// A job file that cannot be run; the message names the file, the line and the problem.
class JobFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// What the operator would enter for one kind of record.
struct KindChoice {
  bool checked = false;
  std::map<std::string, std::string> ranges;  ///< range control name -> value
  std::string criteria;
};

/// What the operator would enter in a tax-group mapping.
struct TaxGroupChoice {
  std::string taxGroup;
  std::vector<std::string> classes;  ///< one per authority row; empty keeps the defaults
};

/// A conversion job: who signs on where, which tab runs, and every choice of its sections.
struct Job {
  std::string file;
  std::string company;
  std::string user;
  int tab = 0;                                      ///< 0 AP ... 5 BK
  std::map<std::string, KindChoice> kinds;          ///< by check box name
  std::map<std::string, TaxGroupChoice> taxGroups;  ///< by tax-group grid name
  std::map<std::string, std::vector<std::vector<std::string>>> operations;  ///< by grid name
};

/// Reads and checks a job file. Sections: [Run] (Company, User, Tab), one per kind named by its
/// check box (Checked, its range controls by name, Criteria), one per tax-group mapping named by
/// its grid (TaxGroup, Classes), one per operations grid (Row1, Row2, ...: operation, authority,
/// then the grid's class and tax-included cells, separated by commas). Throws JobFileError.
Job ReadJobFile(const std::string& path);

}  // namespace batch
