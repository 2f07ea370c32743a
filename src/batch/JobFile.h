#pragma once

#include "convert/ConversionRequest.h"

#include <cstdint>
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

/// A job file is read into the conversion request it stands for: each value with its line.
using JobValue = convert::RequestValue;
using KindChoice = convert::KindChoice;
using TaxGroupChoice = convert::TaxGroupChoice;
using OperationRow = convert::OperationRow;

/// A job: the conversion request it stands for, and where the request is run, which the
/// conversion itself never reads.
struct Job : convert::ConversionRequest {
  /// The base address of the ERP's Web API to convert through; empty for the local ERP.
  JobValue webApi;
  /// The folder below which each company's logs go when converting through the Web API.
  JobValue logFolder;
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
