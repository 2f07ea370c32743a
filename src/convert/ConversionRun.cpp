#include "convert/ConversionRun.h"

#include "convert/TabChecks.h"
#include "convert/TargetProcedures.h"
#include "host/VersionInfo.h"
#include "util/ShellHelpers.h"

#include <array>
#include <chrono>
#include <optional>

namespace convert {
namespace {

constexpr const char* kProgramTitle = "Ordavel";
constexpr int kChecked = 1;

}  // namespace

ConversionRun::ConversionRun(RunWindow& window, host::AccpacConnection& connection,
                             ConversionEngine& engine, std::function<void()> closeWindow)
    : window_(window),
      connection_(connection),
      engine_(engine),
      closeWindow_(std::move(closeWindow)) {}

void ConversionRun::ConvertButtonClick() {
  lastEnd_ = RunEnd::Refused;
  lostLogLines_ = 0;
  if (!ValidateConversion()) {
    claims_.clear();
    return;
  }
  const long lostBefore = connection_.LostLogLines();
  std::optional<std::string> failure = RunKinds(ChangeRunMode::Conversion);
  claims_.clear();
  lostLogLines_ = connection_.LostLogLines() - lostBefore;

  std::string message;
  if (!failure) {
    try {
      const int tab = window_.SSTab1().Tab();
      message = FinalMessage(window_.SSTab1().TabCaption(tab), lostLogLines_ > 0);
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
  if (window_.Messages().AskYesNo(message, kProgramTitle, host::MessageIcon::Question)) {
    util::ExploreFolder(window_.Shell(), connection_.LogFolderOnDisk());
  }
}

bool ConversionRun::PreviewButtonClick() {
  lastEnd_ = RunEnd::Refused;
  lostLogLines_ = 0;
  if (!CheckInput()) return false;
  if (std::optional<std::string> failure = RunKinds(ChangeRunMode::Preview)) {
    connection_.PutError(*failure);
    connection_.ShowErrors();
  }
  if (closeRequested_) {
    closeRequested_ = false;
    if (closeWindow_) closeWindow_();
  }
  return true;
}

std::optional<std::string> ConversionRun::RunKinds(ChangeRunMode mode) {
  running_ = true;
  SetWindowIdle(false);
  engine_.State().Reset();
  lastKinds_.clear();
  // A close asked for while the window was being locked must still stop the run.
  if (closeRequested_) engine_.State().CancelRequested = true;

  const int tab = window_.SSTab1().Tab();
  const auto started = std::chrono::system_clock::now();
  // A preview changes no file but its own; the next conversion mends what a kill cut short.
  if (mode != ChangeRunMode::Preview) MendChangeFiles(connection_.LogFolderOnDisk());
  const ChangeDigest digest(ChangeFileKey(mode != ChangeRunMode::Preview));
  ChangeFileWriter changeFile(connection_.LogFolderOnDisk(), ChangeHeader(mode, tab, started),
                              started, digest);
  ChangeRecorder recorder(changeFile, mode == ChangeRunMode::Preview);
  engine_.SetChangeRecorder(&recorder);

  std::optional<std::string> failure;
  try {
    ConvertTabAt(tab);
  } catch (const std::exception& error) {
    // A kind that could not be set up ends the run; its log tells where it stopped.
    failure = error.what();
    const std::string& logFile = engine_.State().CurrentLogFile;
    if (!logFile.empty() && mode != ChangeRunMode::Preview) {
      connection_.WriteLog(0, logFile, *failure);
    }
  }
  recorder.Finish();
  engine_.SetChangeRecorder(nullptr);
  engine_.SetKindClaim(nullptr);
  lastChangeFile_ = changeFile.Path();
  lostChangeRows_ = changeFile.LostRows();
  SetWindowIdle(true);
  running_ = false;
  if (failure) {
    lastEnd_ = RunEnd::Abandoned;
  } else {
    lastEnd_ = engine_.State().CancelRequested ? RunEnd::Cancelled : RunEnd::Finished;
  }
  return failure;
}

std::string ConversionRun::ChangeFileKey(bool create) {
  try {
    if (host::Session* session = connection_.Session()) return session->ChangeFileKey(create);
  } catch (const std::exception&) {
    // Without the company's key the chain is unkeyed: it still shows every edit made by mistake,
    // and an undo, which insists on the key, refuses the file rather than trust it.
  }
  return {};
}

ChangeFileHeader ConversionRun::ChangeHeader(ChangeRunMode mode, int tab,
                                             std::chrono::system_clock::time_point started) const {
  const bool known = tab >= 0 && tab < static_cast<int>(RunTabs().size());
  const host::Session& session = *connection_.Session();
  return {.build = host::GetProgramBuild(),
          .company = session.CompanyID(),
          .user = session.UserID(),
          .job = jobName_,
          .started = IsoLocalTime(started),
          .tab = known ? RunTabs()[static_cast<size_t>(tab)] : "",
          .mode = mode,
          .undoes = ""};
}

std::vector<std::pair<std::string, KindCounts>> ConversionRun::LastCounts() const {
  std::vector<std::pair<std::string, KindCounts>> counts;
  for (const auto& [kind, outcome] : lastKinds_) {
    counts.emplace_back(window_.Source(kind->headerSource).Description(), outcome.counts);
  }
  return counts;
}

void ConversionRun::CancelButtonClick() {
  engine_.State().CancelRequested = true;
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
  std::vector<const KindTarget*> checked;
  if (!CollectProblems(checked)) return false;
  ClaimKinds(checked);

  host::Session* session = connection_.Session();
  if (session && session->Errors().Count() > 0) {
    connection_.ShowErrors();
    return false;
  }
  const bool proceed = window_.Messages().AskYesNoDefaultNo(
      "You should back up your database before converting tax information. Do you want to "
      "proceed?",
      "Warning", host::MessageIcon::Question);
  if (!proceed) lastEnd_ = RunEnd::Declined;
  return proceed;
}

bool ConversionRun::CheckInput() {
  return Check(false);
}

bool ConversionRun::CheckAndClaim() {
  return Check(true);
}

bool ConversionRun::Check(bool claim) {
  std::vector<const KindTarget*> checked;
  if (!CollectProblems(checked)) return false;
  if (claim) ClaimKinds(checked);
  host::Session* session = connection_.Session();
  if (session && session->Errors().Count() > 0) {
    connection_.ShowErrors();
    return false;
  }
  return true;
}

bool ConversionRun::CollectProblems(std::vector<const KindTarget*>& checked) {
  const int index = window_.SSTab1().Tab();
  if (index < 0 || index >= static_cast<int>(RunTabs().size())) return false;
  const std::string& tab = RunTabs()[static_cast<size_t>(index)];

  bool anyChecked = false;
  for (const KindTarget* kind : TabKinds(tab)) {
    if (window_.CheckBoxNamed(kind->checkBox).Value() == kChecked) anyChecked = true;
  }
  if (!anyChecked) {
    ReportNothingSelected();
    return false;
  }

  // Every check runs, so that one press of Convert shows all the problems together.
  for (const CheckGroup& group : TabChecks(tab)) {
    if (!AnyChecked(group.checkBoxes)) continue;
    for (const RangeCheck& range : group.ranges) {
      ValidateRange(window_.RangeControl(range.fromControl), window_.RangeControl(range.toControl),
                    window_.CheckBoxNamed(range.checkBox));
    }
    if (group.type == ConversionType::TaxGroup) {
      ValidateTaxGroups(window_.TaxGroupGridNamed(group.fromGrid),
                        window_.TaxGroupGridNamed(group.toGrid));
    } else {
      ValidateGridOperations(window_.TaxAuthorityGridNamed(group.authorityGrid));
    }
  }

  for (const KindTarget* kind : TabKinds(tab)) {
    if (window_.CheckBoxNamed(kind->checkBox).Value() != kChecked) continue;
    checked.push_back(kind);
    ValidateCriteria(*kind);
  }
  return true;
}

void ConversionRun::ValidateCriteria(const KindTarget& kind) {
  grids::CriteriaField& criteria = window_.Criteria(kind.criteria);
  if (criteria.Filter().empty() || criteria.DataSource() == nullptr) return;
  host::DataSource& source = *criteria.DataSource();
  const std::string invalid =
      "Invalid input. Additional Criteria for " + source.Description() + ": ";
  if (std::optional<host::FilterProblem> problem = source.CheckFilter(criteria.Filter())) {
    connection_.PutError(invalid + problem->message);
  } else if (std::optional<std::string> joined = JoinedCriteriaProblem(kind, criteria)) {
    connection_.PutError(invalid + *joined);
  }
}

std::optional<std::string> ConversionRun::JoinedCriteriaProblem(const KindTarget& kind,
                                                                grids::CriteriaField& criteria) {
  std::string kindFilter;
  try {
    kindFilter = BuildKindFilter(kind, window_);
  } catch (const std::exception&) {
    // A kind whose own filter cannot be built fails when it is set up, and says why there.
    return std::nullopt;
  }
  // The run browses the criteria inside the kind's own filter, a level deeper than written, so
  // criteria at the deepest level the ERP takes would only fail once their kind runs.
  const std::string joined = CombineFilters(kindFilter, criteria.Filter());
  const std::optional<host::FilterProblem> problem = criteria.DataSource()->CheckFilter(joined);
  if (!problem) return std::nullopt;
  std::string what = problem->message;
  const std::string at = " at position " + std::to_string(problem->position) + ".";
  if (what.ends_with(at)) what.erase(what.size() - at.size());
  what += " when joined with the kind's own selection";
  const size_t start = joined.rfind(criteria.Filter());
  if (start != std::string::npos && problem->position >= start) {
    what += ", at position " + std::to_string(problem->position - start);
  }
  return what + ".";
}

void ConversionRun::ClaimKinds(const std::vector<const KindTarget*>& kinds) {
  claims_.clear();
  host::Session& session = *connection_.Session();
  const std::string folder = connection_.getLogPath();
  for (const KindTarget* kind : kinds) {
    const auto now = std::chrono::system_clock::now();
    std::shared_ptr<host::KindClaim> claim =
        heldClaims_
            ? heldClaims_->Claim(folder, kind->logName, session.UserID(), now)
            : std::make_shared<host::KindClaim>(folder, kind->logName, session.UserID(), now);
    const std::string kindText =
        window_.Source(kind->headerSource).Description() + " of company " + session.CompanyID();
    if (const auto& other = claim->OtherHolder()) {
      connection_.PutError(kindText + " are being converted by user " + other->user + " since " +
                           other->started + ". Try again when that run has ended.");
    } else if (!claim->Held()) {
      // Unclaimed, nothing would keep a second run from converting the same records at once.
      connection_.PutError(kindText + " cannot be claimed for this run: " + claim->Problem() + ".");
    }
    claims_.emplace_back(kind, std::move(claim));
  }
}

const host::KindClaim* ConversionRun::ClaimOf(const KindTarget& kind) const {
  for (const auto& [claimed, claim] : claims_) {
    if (claimed == &kind) return claim.get();
  }
  return nullptr;
}

void ConversionRun::ReportNothingSelected() {
  connection_.PutError("There is nothing selected for " +
                       window_.SSTab1().TabCaption(window_.SSTab1().Tab()) + " to convert.");
  connection_.ShowErrors();
}

void ConversionRun::ValidateRange(host::FieldEditControl& from, host::FieldEditControl& to,
                                  host::CheckBox& box) {
  if (box.Value() != kChecked) return;
  // Key fields are text, so "9" comes after "10" here just as it does in the ERP's key order.
  if (from.Value() > to.Value()) {
    connection_.PutError("Invalid input. From " + from.LeftLabel() + " is greater then to " +
                         to.LeftLabel() + ".");
  }
}

void ConversionRun::ValidateTaxGroups(grids::TaxGroupGrid& from, grids::TaxGroupGrid& to) {
  from.ValidateTaxGroup();
  to.ValidateTaxGroup();
}

void ConversionRun::ValidateGridOperations(grids::TaxAuthorityGrid& grid) {
  grid.ValidateOperations();
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
  engine_.State().CancelRequested = true;
  closeRequested_ = true;
  return false;
}

void ConversionRun::ConvertTab(const std::string& tab) {
  // Each box is read just before its kind runs, not up front, and a cancel does not skip kinds:
  // every later kind still writes its log and stops at its first poll.
  for (const KindTarget* kind : TabKinds(tab)) {
    if (window_.CheckBoxNamed(kind->checkBox).Value() != kChecked) continue;
    const std::int32_t failedBefore = engine_.State().lKindsFailed;
    KindStarted.Emit(*kind);
    engine_.SetKindClaim(ClaimOf(*kind));
    RunTarget(*kind, window_, engine_);
    const KindOutcome outcome{CountsOf(*kind, window_),
                              engine_.State().lKindsFailed != failedBefore,
                              engine_.State().CancelRequested};
    lastKinds_.emplace_back(kind, outcome);
    KindFinished.Emit(*kind, outcome);
  }
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

bool ConversionRun::AnyChecked(const std::vector<std::string>& checkBoxes) {
  for (const std::string& name : checkBoxes) {
    if (window_.CheckBoxNamed(name).Value() == kChecked) return true;
  }
  return false;
}

std::string ConversionRun::FinalMessage(const std::string& caption, bool linesLost) const {
  const RunState& state = engine_.State();
  std::string message = "Conversion of " + caption + " tax information";
  message += state.CancelRequested ? " canceled." : " is complete.";
  // A kind that an error ended has records nobody counted: that is an error of the run too.
  if (state.lTotalFailed != 0 || state.lKindsFailed != 0) {
    message += " Errors occured during conversion of tax information.";
  }
  if (state.lTotalSkipped != 0) {
    message +=
        " There was tax information not converted because tax classes did not match, or no "
        "operations were performed.";
  }
  if (linesLost) message += " Some lines could not be written to the conversion log.";
  return message + " Do you want to explore the conversion log files?";
}

}  // namespace convert
