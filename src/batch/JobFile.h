#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace batch {

/// A job file that cannot be run; the message names the file, the line and the problem, one
/// line per problem.
class JobFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// A value of the job file with the line it stands on.
struct JobValue {
  std::string text;
  int line = 0;  ///< 0 when the job does not give the value
};

/// What the operator would enter for one kind of record.
struct KindChoice {
  int line = 0;  ///< the section's header
  bool checked = false;
  std::map<std::string, JobValue> ranges;  ///< range control name -> value
  JobValue criteria;
};

/// What the operator would enter in a tax-group mapping.
struct TaxGroupChoice {
  int line = 0;  ///< the section's header
  JobValue taxGroup;
  std::vector<std::string> classes;  ///< one per authority row; empty keeps the defaults
  int classesLine = 0;
};

/// One row of an operations grid: the operation, the authority, then the grid's class and
/// tax-included cells in column order.
struct OperationRow {
  std::string key;  ///< as written, such as "Row1"
  int line = 0;
  std::vector<std::string> cells;
};

/// A conversion job: who signs on where, which tab runs, and every choice of its sections.
struct Job {
  std::string file;
  std::string company;
  std::string user;
  int tab = 0;  ///< 0 AP ... 5 BK
  int tabLine = 0;
  /// Records committed together; 0 when the job leaves the conversion's own default.
  std::int32_t recordsPerCommit = 0;
  /// The base address of the ERP's Web API to convert through; empty for the local ERP.
  JobValue webApi;
  /// The folder below which each company's logs go when converting through the Web API.
  JobValue logFolder;
  std::map<std::string, KindChoice> kinds;                      ///< by check box name
  std::map<std::string, TaxGroupChoice> taxGroups;              ///< by tax-group grid name
  std::map<std::string, std::vector<OperationRow>> operations;  ///< by grid, in row order

  /// "file:line: ", the start of a message about that line.
  std::string Where(int line) const { return file + ":" + std::to_string(line) + ": "; }
};

/// The number of records per commit written in `text`: a whole number from 1 to
/// CommitBatches::kMaxRecordsPerCommit; nullopt for anything else (0, a negative number, a
/// fraction, text, a larger number).
std::optional<std::int32_t> ParseRecordsPerCommit(const std::string& text);

/// What a refused records-per-commit value `text` given as `name` is told.
std::string RecordsPerCommitProblem(const std::string& name, const std::string& text);

/// Reads and checks a job file. Sections: [Run] (Company, User, Tab, RecordsPerCommit, WebApi,
/// LogFolder), one per
/// kind named by its check box (Checked, its range controls by name, Criteria), one per tax-group
/// mapping named by its grid (TaxGroup, Classes), one per operations grid (Row1, Row2, ...:
/// operation, authority, then the grid's class and tax-included cells, separated by commas).
/// Sections belong to the tab the job runs; each section and key appears once. A value loses the
/// blanks around it; a value in matching quotes keeps everything between them exactly. Throws
/// JobFileError listing every problem found.
Job ReadJobFile(const std::string& path);

}  // namespace batch
