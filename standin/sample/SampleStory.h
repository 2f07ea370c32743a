#pragma once

#include "standin/database/CompanyDatabase.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace erp {

class RecordWriter;

/// Where a record stands on 1 July 2010, when Ontario folds its retail sales tax and the federal
/// GST into one 13% HST.
enum class TaxState {
  Before,     ///< on ONGSTPST with taxable classes (1, 1): the records a conversion rewrites
  Exempt,     ///< on ONGSTPST with exempt classes (2, 2), which a taxable mapping skips
  Converted,  ///< already moved to ONHST with class 1
  Elsewhere,  ///< outside Ontario, on QCGSTQST or GSTONLY, which the harmonisation leaves alone
  Untaxed,    ///< a company without Tax Services: no tax group, no tax rows
};

/// Tax groups of the story, valid for sales (1) and purchases (2).
inline constexpr const char* kBeforeGroup = "ONGSTPST";
inline constexpr const char* kAfterGroup = "ONHST";
inline constexpr const char* kQuebecGroup = "QCGSTQST";
inline constexpr const char* kFederalGroup = "GSTONLY";

/// The state of the record with this index in the sample's fixed mix: seven in ten Before, then
/// one each Exempt, Converted and Elsewhere.
TaxState sampleTaxState(size_t index);

/// One of the 19 kinds of record that the program converts, with the key scheme that numbers
/// its records: record `index` always gets the same keys, and different indexes different keys.
struct RecordKind {
  const char* name;        ///< command-line name, "customers"
  const char* module;      ///< application code, "AR"
  const char* headerView;  ///< the view whose records carry the keys
  const char* detailView;  ///< the per-authority rows, or "" for a kind with a tax group
  size_t sampleCount;      ///< records of the kind in a sample company
  size_t maxCount;         ///< highest record count the key scheme can number
  void (*setKeys)(RecordWriter& header, size_t index);
  std::string (*describe)(size_t index);
};

/// The 19 kinds, tab by tab in the order the program converts them.
std::span<const RecordKind> recordKinds();
/// The kind with this command-line name, or nullptr.
const RecordKind* findRecordKind(const std::string& name);

/// Writes the story's tax authorities, classes and groups.
void writeTaxServices(CompanyDatabase& database);
/// Writes the currencies CAD, USD and EUR and the A/R and I/C options; `multicurrency` decides
/// whether the program shows the currency ranges and the recurring-charge customer range.
void writeCompanyBasics(CompanyDatabase& database, bool multicurrency);

/// The states of the first `count` records of a kind with tax rows, by blocks in key order: the
/// first seven tenths of the keys Before, then a tenth each Exempt, Converted and Elsewhere. An
/// operation list inserts rows unconditionally, so the records a harmonisation converts must be
/// a range an operator can choose; with tax groups the from group picks them out instead.
std::vector<TaxState> keyBlockTaxStates(CompanyDatabase& database, const RecordKind& kind,
                                        size_t count);

/// Writes records `first` to `first + count - 1` of a kind, with their tax rows, each in the
/// state `stateOf` gives its index; the caller holds the transaction.
void writeRecords(CompanyDatabase& database, const RecordKind& kind, size_t first, size_t count,
                  const std::function<TaxState(size_t index)>& stateOf);

/// The number of records in a view.
size_t recordCount(CompanyDatabase& database, const std::string& viewId);

}  // namespace erp
