#pragma once

#include "convert/ConversionEngine.h"
#include "convert/KindCounts.h"
#include "convert/RunWindow.h"
#include "convert/Targets.h"
#include "convert/changes/ChangeFileWriter.h"
#include "grids/TaxAuthorityGrid.h"
#include "grids/TaxGroupGrid.h"
#include "host/AccpacConnection.h"
#include "host/HeldClaims.h"
#include "host/KindClaim.h"
#include "host/Signal.h"
#include "host/WindowControls.h"
#include "host/controls/FieldEditControl.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace convert {

/// How the last press of Convert ended.
enum class RunEnd {
  NotRun,     ///< Convert has not been pressed yet
  Refused,    ///< the checks found problems in the input; nothing was converted
  Declined,   ///< the backup question was answered No; nothing was converted
  Abandoned,  ///< an error while a kind was set up ended the run
  Cancelled,  ///< the operator cancelled the run
  Finished,   ///< every checked kind ran; the run state tells what became of the records
};

/// What the Convert and Cancel buttons do: checks the active tab, asks for the backup, locks the
/// window, converts the checked kinds of the tab in their order and tells the operator how the
/// run ended.
class ConversionRun {
 public:
  /// `closeWindow` closes the main window; it is called when a close asked for during a run can
  /// be carried out.
  ConversionRun(RunWindow& window, host::AccpacConnection& connection, ConversionEngine& engine,
                std::function<void()> closeWindow);

  /// The run: validation, the checked kinds of the current tab, the final question.
  void ConvertButtonClick();
  /// Preview: runs every check Convert runs, then takes the checked kinds' records through the
  /// views as a conversion would, new values put with verification, and saves nothing: no
  /// update, no conversion log, no claim and no lock between records. What would happen goes
  /// into a change file; LastKinds gives the counts per kind. False when the checks refused.
  bool PreviewButtonClick();
  /// Asks the record loops to stop at their next poll.
  void CancelButtonClick();
  /// Records committed together from the next kind on; 1 commits each record alone.
  void SetRecordsPerCommit(std::int32_t records) { engine_.SetRecordsPerCommit(records); }
  std::int32_t RecordsPerCommit() const { return engine_.RecordsPerCommit(); }
  /// A batch of records has been committed; its change rows are written next.
  host::Signal<>& BatchCommitted() { return engine_.BatchCommitted; }
  /// Switches the window between idle (everything usable) and running (only Cancel).
  void SetWindowIdle(bool idle);

  /// Checks every input of the current tab and asks the backup question; true when the run may
  /// start.
  bool ValidateConversion();
  /// Runs every check of the current tab that Convert runs, shows the problems and returns true
  /// when there are none; claims no kind, asks nothing and converts nothing.
  bool CheckInput();
  /// Runs every check Convert runs and claims the checked kinds as Convert does, shows the
  /// problems and returns true when there are none; asks nothing and converts nothing. The
  /// claims stay with the claims shared through ShareClaims.
  bool CheckAndClaim();
  /// Takes the kinds' claims from `held` (nullptr: each run claims its own), which keeps them
  /// for the runs of other windows of this process after this one.
  void ShareClaims(host::HeldClaims* held) { heldClaims_ = held; }
  /// Tells the operator that no kind of the current tab is checked.
  void ReportNothingSelected();
  /// Reports a from value greater than its to value, when the box is checked.
  void ValidateRange(host::FieldEditControl& from, host::FieldEditControl& to, host::CheckBox& box);
  /// Reports a blank or unknown tax group of either mapping.
  void ValidateTaxGroups(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to);
  /// Reports a tax-authority grid without operations.
  void ValidateGridOperations(grids::TaxAuthorityGrid& grid);
  /// Reports additional criteria that are not a complete filter of their kind's view: joined
  /// with the kind's own filter they could otherwise widen the selection.
  void ValidateCriteria(const KindTarget& kind);
  /// Claims the checked kinds of the tab for this run; reports each kind another run converts
  /// and each kind whose claim cannot be made.
  void ClaimKinds(const std::vector<const KindTarget*>& kinds);

  /// Converts the checked kinds of the Accounts Payable tab.
  void ConvertAPTab();
  /// Converts the checked kinds of the Accounts Receivable tab.
  void ConvertARTab();
  /// Converts the checked kinds of the Inventory Control tab.
  void ConvertICTab();
  /// Converts the checked kinds of the Order Entry tab.
  void ConvertOETab();
  /// Converts the checked kinds of the Purchase Orders tab.
  void ConvertPOTab();
  /// Converts the checked kinds of the Bank tab.
  void ConvertBKTab();

  /// Asks to close the window: true when it may close now; during a run the run is cancelled
  /// and the window is closed through `closeWindow` once the run has ended.
  bool RequestClose();
  /// Whether a run is between locking and unlocking the window.
  bool Running() const { return running_; }
  /// How the last press of Convert ended.
  RunEnd LastEnd() const { return lastEnd_; }
  /// Conversion log lines that could not be written during the last run.
  long LostLogLines() const { return lostLogLines_; }

  /// The job file a run was read from, for the header of its change file; empty in the window.
  void SetJobName(std::string job) { jobName_ = std::move(job); }
  /// The change file of the last run or preview; empty when none was written.
  const std::filesystem::path& LastChangeFile() const { return lastChangeFile_; }
  /// Change rows of the last run or preview that could not be written.
  long LostChangeRows() const { return lostChangeRows_; }
  /// What each kind of the last run or preview counted, in running order.
  const std::vector<std::pair<const KindTarget*, KindOutcome>>& LastKinds() const {
    return lastKinds_;
  }

  /// What each kind of the last run or preview counted, named by its description, in running
  /// order: what a Preview dialog lists.
  std::vector<std::pair<std::string, KindCounts>> LastCounts() const;

  /// A checked kind is about to be set up and converted.
  host::Signal<const KindTarget&> KindStarted;
  /// A kind has been converted, or an error ended its record loop. Not emitted for a kind whose
  /// set-up failed: that ends the run.
  host::Signal<const KindTarget&, const KindOutcome&> KindFinished;

 private:
  void ConvertTab(const std::string& tab);
  void ConvertTabAt(int index);
  bool AnyChecked(const std::vector<std::string>& checkBoxes);
  /// Puts every problem of the current tab's input into the error list; false when nothing is
  /// checked (which is reported at once). The checked kinds are returned through `checked`.
  bool CollectProblems(std::vector<const KindTarget*>& checked);
  /// What the ERP refuses in the kind's criteria once they are joined with the kind's own filter
  /// as the run joins them.
  std::optional<std::string> JoinedCriteriaProblem(const KindTarget& kind,
                                                   grids::CriteriaField& criteria);
  /// CheckInput, and with `claim` the checked kinds claimed too.
  bool Check(bool claim);
  /// The run's claim on `kind`; nullptr when it has none.
  const host::KindClaim* ClaimOf(const KindTarget& kind) const;
  /// Locks the window, runs the checked kinds of the current tab into a new change file and
  /// unlocks the window; the error that ended the run, when one did.
  std::optional<std::string> RunKinds(ChangeRunMode mode);
  /// The company's key for the run's change file (made first when `create`); empty when there
  /// is none to be had.
  std::string ChangeFileKey(bool create);
  /// The header of the change file of a run of `mode` on tab `tab` that started at `started`.
  ChangeFileHeader ChangeHeader(ChangeRunMode mode, int tab,
                                std::chrono::system_clock::time_point started) const;
  std::string FinalMessage(const std::string& caption, bool linesLost) const;

  RunWindow& window_;
  host::AccpacConnection& connection_;
  ConversionEngine& engine_;
  std::function<void()> closeWindow_;
  bool running_ = false;
  bool closeRequested_ = false;
  RunEnd lastEnd_ = RunEnd::NotRun;
  long lostLogLines_ = 0;
  /// The run's claim on each checked kind.
  std::vector<std::pair<const KindTarget*, std::shared_ptr<host::KindClaim>>> claims_;
  host::HeldClaims* heldClaims_ = nullptr;
  std::string jobName_;
  std::filesystem::path lastChangeFile_;
  long lostChangeRows_ = 0;
  std::vector<std::pair<const KindTarget*, KindOutcome>> lastKinds_;
};

}  // namespace convert
