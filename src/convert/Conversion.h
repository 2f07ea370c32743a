#pragma once

#include "convert/ConversionEngine.h"
#include "convert/ConversionRequest.h"
#include "convert/ConversionResult.h"
#include "convert/KindControlSet.h"
#include "convert/RequestEntry.h"
#include "convert/RunObserver.h"
#include "convert/RunState.h"
#include "convert/TabChecks.h"
#include "convert/changes/ChangeFileWriter.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"
#include "host/HeldClaims.h"
#include "host/KindClaim.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace convert {

/// "Invalid input. From <label> is greater then to <label>." when the from control's value comes
/// after the to control's; nothing when the range is in order.
std::optional<std::string> RangeProblem(const host::FieldEditControl& from,
                                        const host::FieldEditControl& to);

/// Whether checking a request also claims its checked kinds for the run that follows.
enum class Claims { Take, Leave };

/// One conversion request on a signed-on company: entered into a set of its tab's controls of
/// its own, made from the kind table as start-up makes the window's, and checked by those
/// controls' rules and the Convert checks, with the same messages the window gives; then run,
/// kind by kind in the tab's order, into the kinds' conversion logs and one change file.
class Conversion {
 public:
  /// Enters `request` and runs every check Convert runs; with Claims::Take the checked kinds
  /// are claimed for this conversion until it is destroyed, and a kind that another run holds
  /// or that cannot be claimed is refused. The claims are taken from `held` when given, which
  /// keeps them for the conversions of this process that follow (several jobs). Raises
  /// HostError when the tab's data sources cannot be opened.
  Conversion(host::AccpacConnection& connection, host::DataSourceFactory& dataSources,
             ConversionRequest request, Claims claims, host::HeldClaims* held = nullptr);
  ~Conversion();
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  const ConversionRequest& Request() const { return request_; }
  /// What the controls refused or did not take as written while the request was entered, each
  /// as "file:line: problem"; a request with such problems is not checked further.
  const std::vector<std::string>& EntryProblems() const { return entryProblems_; }
  /// What the Convert checks refused, in the order they found it, as the error list holds it.
  const std::vector<std::string>& CheckProblems() const { return checkProblems_; }
  /// Whether the request may run: nothing was refused.
  bool Accepted() const { return entryProblems_.empty() && checkProblems_.empty(); }

  /// Runs an accepted request: the checked kinds of its tab in their order, each set up, logged
  /// and converted (in a preview only taken through the views), into a new change file. An error
  /// while a kind is set up ends the run (Abandoned) and is written into that kind's log. Each
  /// commit of a claimed kind first proves the claim; a claim lost ends that kind with an error.
  ConversionResult Run(RunObserver& observer);

  /// The controls the request was entered into.
  KindControlSet& Controls() { return *controls_; }

 private:
  void Prepare(Claims claims, host::HeldClaims* held);
  bool OpenTab(const std::string& tab);
  /// Puts every problem of the checked kinds into the error list; false when none is checked.
  bool CheckTab(const std::string& tab);
  void CheckRange(const RangeCheck& range);
  /// Refuses a kind whose views the link cannot convert, naming what it lacks.
  void CheckAvailable(const KindDef& kind);
  void CheckCriteria(const KindDef& kind);
  /// What the ERP refuses in the kind's criteria once they are joined with the kind's own filter
  /// as the run joins them.
  std::optional<std::string> JoinedCriteriaProblem(const KindDef& kind,
                                                   grids::CriteriaField& criteria);
  void ClaimKinds(const std::string& tab, host::HeldClaims* held);
  /// The conversion's claim on `kind`; nullptr when it has none.
  const host::KindClaim* ClaimOf(const KindDef& kind) const;
  /// The company's key for the run's change file (made first when `create`); empty when there
  /// is none to be had.
  std::string ChangeFileKey(bool create);
  void TakeCheckProblems();
  KindResult RunKind(const KindDef& kind, ConversionEngine& engine, RunState& state,
                     RunObserver& observer);
  ChangeFileHeader ChangeHeader(std::chrono::system_clock::time_point started) const;

  host::AccpacConnection& connection_;
  host::DataSourceFactory& dataSources_;
  ConversionRequest request_;
  CapturedErrors shown_;
  NoFilterWindow filterWindow_;
  std::unique_ptr<KindControlSet> controls_;
  /// The conversion's claim on each checked kind.
  std::vector<std::pair<const KindDef*, std::shared_ptr<host::KindClaim>>> claims_;
  std::vector<std::string> entryProblems_;
  std::vector<std::string> checkProblems_;
};

}  // namespace convert
