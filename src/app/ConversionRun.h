#pragma once

#include "app/RunWindow.h"
#include "convert/Conversion.h"
#include "convert/ConversionResult.h"
#include "convert/KindTable.h"
#include "convert/ProgressControls.h"
#include "host/AccpacConnection.h"
#include "host/Signal.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace app {

using convert::RunEnd;

/// What the Convert and Cancel buttons do: builds the request of the active tab from the
/// window's controls, has the conversion check it, asks for the backup, locks the window, runs
/// the conversion, showing its progress, and tells the operator how the run ended.
class ConversionRun {
 public:
  /// `closeWindow` closes the main window; it is called when a close asked for during a run can
  /// be carried out.
  ConversionRun(RunWindow& window, host::AccpacConnection& connection,
                std::function<void()> closeWindow);
  ~ConversionRun();

  /// The run: validation, the checked kinds of the current tab, the final question.
  void ConvertButtonClick();
  /// Preview: runs every check Convert runs, then takes the checked kinds' records through the
  /// views as a conversion would, new values put with verification, and saves nothing: no
  /// update, no conversion log, no claim and no lock between records. What would happen goes
  /// into a change file; LastCounts gives the counts per kind. False when the checks refused.
  bool PreviewButtonClick();
  /// Asks the record loops to stop at their next poll.
  void CancelButtonClick() { cancelRequested_ = true; }
  /// Switches the window between idle (everything usable) and running (only Cancel).
  void SetWindowIdle(bool idle);

  /// Checks every input of the current tab, claims its checked kinds and asks the backup
  /// question; true when the run may start.
  bool ValidateConversion();
  /// Tells the operator that no kind of the current tab is checked.
  void ReportNothingSelected();

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
  /// What the last run or preview did.
  const convert::ConversionResult& LastResult() const { return lastResult_; }
  /// The change file of the last run or preview; empty when none was written.
  const std::filesystem::path& LastChangeFile() const { return lastResult_.changeFile; }
  /// What each kind of the last run or preview counted, named by its description, in running
  /// order: what a Preview dialog lists.
  std::vector<std::pair<std::string, convert::KindCounts>> LastCounts() const;

  /// A checked kind is about to be set up and converted.
  host::Signal<const convert::KindDef&> KindStarted;
  /// A kind has been converted, or an error ended its record loop. Not emitted for a kind whose
  /// set-up failed: that ends the run.
  host::Signal<const convert::KindDef&, const convert::KindOutcome&> KindFinished;
  /// A batch of records has been committed; its change rows are written next.
  host::Signal<> BatchCommitted;

 private:
  class Observer;

  /// The request the current tab's controls hold.
  convert::ConversionRequest Request(bool preview) const;
  /// Builds and checks the request of the current tab; false, with the problems shown, when it
  /// was refused or its data sources could not be opened.
  bool Prepare(bool preview, convert::Claims claims);
  bool AnyChecked() const;
  /// Locks the window, runs the prepared conversion and unlocks the window.
  void RunKinds();
  void ConvertTab(const std::string& tab);
  void ConvertTabAt(int index);

  RunWindow& window_;
  host::AccpacConnection& connection_;
  std::function<void()> closeWindow_;
  std::unique_ptr<Observer> observer_;
  std::unique_ptr<convert::Conversion> conversion_;
  bool running_ = false;
  bool closeRequested_ = false;
  bool cancelRequested_ = false;
  RunEnd lastEnd_ = RunEnd::NotRun;
  convert::ConversionResult lastResult_;
};

}  // namespace app
