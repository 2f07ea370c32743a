#pragma once

#include "convert/ConversionResult.h"
#include "convert/KindTable.h"

#include <cstdint>
#include <string>

namespace convert {

/// Follows a run: its kinds, its records and its end. The run also asks it, at every point
/// where it may stop, whether the operator wants it to; a front end lets its pending events run
/// there (a click on Cancel among them) as often as it sees fit.
class RunObserver {
 public:
  virtual ~RunObserver() = default;

  /// A checked kind, whose header view `description` names, is about to be set up and converted.
  virtual void KindStarted(const KindDef&, const std::string& /*description*/) {}
  /// The kind's filter selected `records` records, which are converted next.
  virtual void RecordsCounted(std::int32_t /*records*/) {}
  /// What the run is doing with the record in hand ("Converting Customers 1000..."); empty when
  /// it is done with it.
  virtual void Processing(const std::string& /*text*/) {}
  /// One more record of the kind has been handled.
  virtual void RecordDone() {}
  /// A batch of records has been committed; its change rows are written next.
  virtual void BatchCommitted() {}
  /// The kind has been converted, or an error ended its record loop. Not called for a kind whose
  /// set-up failed: that ends the run.
  virtual void KindFinished(const KindResult& /*kind*/) {}
  /// The run has ended.
  virtual void RunFinished(const ConversionResult& /*result*/) {}
  /// A point where pending events may run; CancelRequested is asked after it.
  virtual void LetEventsRun() {}
  /// Whether the operator asked the run to stop.
  virtual bool CancelRequested() const { return false; }
};

}  // namespace convert
