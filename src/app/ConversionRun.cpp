#include "app/ConversionRun.h"

#include "convert/RequestEntry.h"
#include "convert/Startup.h"
#include "util/ShellHelpers.h"

#include <array>

namespace app {

/// Shows the run on the window's progress frame and passes its kinds and commits on.
class ConversionRun::Observer : public RunProgress {
 public:
  explicit Observer(ConversionRun& run)
      : RunProgress(
            run.window_.ProgressBar(), run.window_.txtProcessing(), run.window_.Pump(),
            [&window = run.window_] { return window.Now(); }, run.cancelRequested_),
        run_(run) {}

  void KindStarted(const convert::KindDef& kind, const std::string& description) override {
    run_.KindStarted.Emit(kind);
    RunProgress::KindStarted(kind, description);
  }
  void KindFinished(const convert::KindResult& kind) override {
    RunProgress::KindFinished(kind);
    run_.KindFinished.Emit(*kind.kind, kind.outcome);
  }
  void BatchCommitted() override { run_.BatchCommitted.Emit(); }

 private:
  ConversionRun& run_;
};

ConversionRun::ConversionRun(RunWindow& window, host::AccpacConnection& connection,
                             std::function<void()> closeWindow)
    : window_(window),
      connection_(connection),
      closeWindow_(std::move(closeWindow)),
      observer_(std::make_unique<Observer>(*this)) {}

ConversionRun::~ConversionRun() = default;

void ConversionRun::ConvertButtonClick() {
  lastEnd_ = RunEnd::Refused;
  lastResult_ = {};
  if (!ValidateConversion()) {
    conversion_.reset();
    return;
  }
  RunKinds();
  conversion_.reset();

  std::optional<std::string> failure = lastResult_.failure;
  std::string message;
  if (!failure) {
    try {
      message =
          convert::FinalMessage(window_.SSTab1().TabCaption(window_.SSTab1().Tab()), lastResult_);
    } catch (const std::exception& error) {
      failure = error.what();
      lastEnd_ = RunEnd::Abandoned;
    }
  }
  if (failure) {
    // The log alone would leave the operator thinking the run went through.
    connection_.PutError(*failure);
    connection_.ShowErrors();
  }
  if (closeRequested_) {
    closeRequested_ = false;
    if (closeWindow_) closeWindow_();
    return;
  }
  if (failure) return;
  if (window_.Messages().AskYesNo(message, convert::kProgramTitle, host::MessageIcon::Question)) {
    util::ExploreFolder(window_.Shell(), connection_.LogFolderOnDisk());
  }
}

bool ConversionRun::PreviewButtonClick() {
  lastEnd_ = RunEnd::Refused;
  lastResult_ = {};
  if (!Prepare(true, convert::Claims::Leave)) return false;
  RunKinds();
  conversion_.reset();
  if (lastResult_.failure) {
    connection_.PutError(*lastResult_.failure);
    connection_.ShowErrors();
  }
  if (closeRequested_) {
    closeRequested_ = false;
    if (closeWindow_) closeWindow_();
  }
  return true;
}

void ConversionRun::RunKinds() {
  running_ = true;
  SetWindowIdle(false);
  // A click on Cancel while the window was being locked came before the run; a close asked for
  // then must still stop it.
  cancelRequested_ = closeRequested_;
  ConvertTabAt(window_.SSTab1().Tab());
  SetWindowIdle(true);
  running_ = false;
  lastEnd_ = lastResult_.end;
  lastPreview_ = conversion_ && conversion_->Request().preview;
  RunEnded.Emit();
}

std::vector<std::pair<std::string, convert::KindCounts>> ConversionRun::LastCounts() const {
  std::vector<std::pair<std::string, convert::KindCounts>> counts;
  for (const convert::KindResult& kind : lastResult_.kinds) {
    counts.emplace_back(kind.description, kind.outcome.counts);
  }
  return counts;
}

void ConversionRun::SetWindowIdle(bool idle) {
  window_.mnuHelp().SetEnabled(idle);
  window_.mnuFile().SetEnabled(idle);
  window_.cmdClose().SetEnabled(idle);
  window_.SSTab1().SetEnabled(idle);
  window_.cmdCancel().SetEnabled(!idle);
  window_.cmdCancel().SetVisible(!idle);
  window_.cmdConvert().SetEnabled(idle);
  window_.cmdConvert().SetVisible(idle);
  window_.frmProgress().SetVisible(!idle);
  window_.Pump().ProcessPendingMessages();
}

bool ConversionRun::ValidateConversion() {
  if (!Prepare(false, convert::Claims::Take)) return false;
  const bool proceed = window_.Messages().AskYesNoDefaultNo(
      "You should back up your database before converting tax information. Do you want to "
      "proceed?",
      "Warning", host::MessageIcon::Question);
  if (!proceed) lastEnd_ = RunEnd::Declined;
  return proceed;
}

convert::ConversionRequest ConversionRun::Request(bool preview) const {
  convert::ConversionRequest request = convert::ReadRequest(
      window_, window_.SSTab1().Tab(),
      [this](const std::string& box) { return window_.CheckBoxNamed(box).Value() == kChecked; });
  request.preview = preview;
  return request;
}

bool ConversionRun::Prepare(bool preview, convert::Claims claims) {
  const int index = window_.SSTab1().Tab();
  if (index < 0 || index >= static_cast<int>(convert::RunTabs().size())) return false;
  if (!AnyChecked()) {
    ReportNothingSelected();
    return false;
  }
  std::vector<std::string> problems;
  try {
    conversion_ = std::make_unique<convert::Conversion>(connection_, window_.DataSources(),
                                                        Request(preview), claims);
    problems = conversion_->EntryProblems();
    for (const std::string& problem : conversion_->CheckProblems()) problems.push_back(problem);
  } catch (const std::exception& error) {
    problems = {error.what()};
  }
  if (problems.empty()) return true;
  conversion_.reset();
  for (const std::string& problem : problems) connection_.PutError(problem);
  connection_.ShowErrors();
  return false;
}

bool ConversionRun::AnyChecked() const {
  const std::string& tab = convert::RunTabs()[static_cast<size_t>(window_.SSTab1().Tab())];
  for (const convert::KindDef* kind : convert::TabKinds(tab)) {
    if (window_.CheckBoxNamed(kind->checkBox).Value() == kChecked) return true;
  }
  return false;
}

void ConversionRun::ReportNothingSelected() {
  connection_.PutError("There is nothing selected for " +
                       window_.SSTab1().TabCaption(window_.SSTab1().Tab()) + " to convert.");
  connection_.ShowErrors();
}

void ConversionRun::ConvertAPTab() {
  ConvertTab("AP");
}
void ConversionRun::ConvertARTab() {
  ConvertTab("AR");
}
void ConversionRun::ConvertICTab() {
  ConvertTab("IC");
}
void ConversionRun::ConvertOETab() {
  ConvertTab("OE");
}
void ConversionRun::ConvertPOTab() {
  ConvertTab("PO");
}
void ConversionRun::ConvertBKTab() {
  ConvertTab("BK");
}

bool ConversionRun::RequestClose() {
  if (!running_) return true;
  // Closing now would close the data sources under the running record loop; stop it first.
  cancelRequested_ = true;
  closeRequested_ = true;
  return false;
}

void ConversionRun::ConvertTab(const std::string& tab) {
  if (!conversion_ || convert::RunTabs().at(static_cast<size_t>(conversion_->Request().tab)) != tab)
    return;
  lastResult_ = conversion_->Run(*observer_);
}

void ConversionRun::ConvertTabAt(int index) {
  using Dispatcher = void (ConversionRun::*)();
  // In tab index order; any other index runs nothing.
  static constexpr std::array<Dispatcher, 6> kDispatchers = {
      &ConversionRun::ConvertAPTab, &ConversionRun::ConvertARTab, &ConversionRun::ConvertICTab,
      &ConversionRun::ConvertOETab, &ConversionRun::ConvertPOTab, &ConversionRun::ConvertBKTab};
  if (index >= 0 && index < static_cast<int>(kDispatchers.size())) {
    (this->*kDispatchers[static_cast<size_t>(index)])();
  }
}

}  // namespace app
