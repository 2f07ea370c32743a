#pragma once

#include "host/DataSource.h"

#include <string>
#include <utility>
#include <vector>

namespace host {

/// How to find a converted record again and what it held before and after the conversion: the
/// header record by its key, or one of its detail rows by the detail field that picks it.
struct RecordProbe {
  /// A field of the record (or row) with its text before and after the conversion.
  struct FieldState {
    int number = 0;
    std::string before;
    std::string after;
    bool operator==(const FieldState&) const = default;
  };

  std::vector<std::pair<int, std::string>> key;  ///< the header's primary key fields and texts
  int detailField = 0;  ///< 0 for the header record itself, else the detail field that picks a row
  std::string detailValue;
  bool existedBefore = true;
  bool existsAfter = true;
  std::vector<FieldState> fields;

  bool operator==(const RecordProbe&) const = default;
  /// Whether the before and after states can be told apart at all.
  bool Distinguishable() const;
};

/// What the records of a batch show about whether the batch was committed.
enum class BatchOutcome {
  Committed,   ///< a record shows its after state
  RolledBack,  ///< no record shows its after state and one shows its before state
  Unknown,     ///< no record tells: none found, none readable, or before and after alike
};

/// Reads each probe's record through `header`, and its row through `detail` for probes of detail
/// rows, and compares it with the states the probe expects.
BatchOutcome CheckProbes(const std::vector<RecordProbe>& probes, DataSource& header,
                         DataSource* detail);

}  // namespace host
