#include "convert/Conversion.h"

#include "convert/PlanChecks.h"
#include "convert/TargetProcedures.h"
#include "convert/changes/ChangeRecorder.h"
#include "host/VersionInfo.h"

namespace convert {
namespace {

/// The counts of a kind as the grid that carries them holds them: the to mapping of a tax-group
/// kind, the operations grid of a tax-authority kind.
KindCounts CountsOf(const KindDef& kind, KindControls& controls, const ConversionEngine& engine) {
  if (kind.type == ConversionType::TaxGroup) {
    const grids::TaxGroupGrid& grid = controls.TaxGroupGridNamed(kind.toGrid);
    return {grid.lRecords(), grid.lUpdated(), grid.lSkipped(), grid.lFailed()};
  }
  const grids::TaxAuthorityGrid& grid = controls.TaxAuthorityGridNamed(kind.authorityGrid);
  return {grid.lRecords(), grid.lUpdated(), grid.lSkipped(), grid.lFailed(), engine.NotAffected()};
}

}  // namespace

std::optional<std::string> RangeProblem(const host::FieldEditControl& from,
                                        const host::FieldEditControl& to) {
  // Key fields are text, so "9" comes after "10" here just as it does in the ERP's key order.
  if (from.Value() <= to.Value()) return std::nullopt;
  return "Invalid input. From " + from.LeftLabel() + " is greater then to " + to.LeftLabel() + ".";
}

Conversion::Conversion(host::AccpacConnection& connection, host::DataSourceFactory& dataSources,
                       ConversionRequest request, Claims claims, host::HeldClaims* held)
    : connection_(connection),
      dataSources_(dataSources),
      request_(std::move(request)),
      shown_(connection),
      controls_(std::make_unique<KindControlSet>(
          ControlParts{dataSources, shown_.Factory(), filterWindow_})) {
  Prepare(claims, held);
}

Conversion::~Conversion() = default;

void Conversion::Prepare(Claims claims, host::HeldClaims* held) {
  const std::string& tab = RunTabs().at(static_cast<size_t>(request_.tab));
  if (!OpenTab(tab)) return;
  controls_->BuildTab(connection_, tab);
  entryProblems_ = EnterRequest(request_, *controls_, shown_);
  for (std::string& problem : CheckReplacements(request_, connection_, dataSources_)) {
    entryProblems_.push_back(std::move(problem));
  }
  if (!entryProblems_.empty()) return;
  if (!CheckTab(tab)) return;
  if (claims == Claims::Take) ClaimKinds(tab, held);
  TakeCheckProblems();
}

bool Conversion::OpenTab(const std::string& tab) {
  if (!IsModuleActive(connection_, tab)) {
    entryProblems_.push_back(
        request_.Where(request_.tabLine) + Tabs().at(static_cast<size_t>(request_.tab)).caption +
        " is not active for company " + connection_.Session()->CompanyID() + ".");
    return false;
  }
  for (const SourceDef& def : TaxSources()) controls_->Open(connection_, def);
  for (const SourceDef& def : TabSources(tab)) controls_->Open(connection_, def);
  controls_->OpenItemsFor(connection_, tab);
  return true;
}

bool Conversion::CheckTab(const std::string& tab) {
  bool anyChecked = false;
  for (const KindDef* kind : TabKinds(tab)) anyChecked |= request_.Checked(kind->checkBox);
  if (!anyChecked) {
    checkProblems_.push_back("There is nothing selected for " +
                             Tabs().at(static_cast<size_t>(request_.tab)).caption + " to convert.");
    return false;
  }
  // Every check runs, so that one request shows all its problems together.
  for (const CheckGroup& group : TabChecks(tab)) {
    bool any = false;
    for (const std::string& box : group.checkBoxes) any |= request_.Checked(box);
    if (!any) continue;
    for (const RangeCheck& range : group.ranges) CheckRange(range);
    if (group.type == ConversionType::TaxGroup) {
      controls_->TaxGroupGridNamed(group.fromGrid).ValidateTaxGroup();
      controls_->TaxGroupGridNamed(group.toGrid).ValidateTaxGroup();
    } else {
      grids::TaxAuthorityGrid& grid = controls_->TaxAuthorityGridNamed(group.authorityGrid);
      // Replacements are operations of their own: a grid with them may have no rows.
      if (request_.replacements.count(group.authorityGrid) == 0 || grid.Grid()->RowsCount() != 0) {
        grid.ValidateOperations();
      }
    }
  }
  for (const KindDef* kind : TabKinds(tab)) {
    if (!request_.Checked(kind->checkBox)) continue;
    CheckAvailable(*kind);
    CheckCriteria(*kind);
  }
  return true;
}

void Conversion::CheckAvailable(const KindDef& kind) {
  // A link may offer a view without the fields a conversion changes (a server that hides them);
  // the kind is refused before any kind runs rather than failing once its turn comes.
  for (const std::string* name : {&kind.headerSource, &kind.detailSource}) {
    if (name->empty()) continue;
    if (std::optional<std::string> problem = controls_->Source(*name).ConversionProblem()) {
      connection_.PutError(*problem);
    }
  }
}

void Conversion::CheckRange(const RangeCheck& range) {
  if (!request_.Checked(range.checkBox)) return;
  const std::optional<std::string> problem = RangeProblem(
      controls_->RangeControl(range.fromControl), controls_->RangeControl(range.toControl));
  if (problem) connection_.PutError(*problem);
}

void Conversion::CheckCriteria(const KindDef& kind) {
  // Joined with the kind's own filter, criteria that are not a complete filter of the kind's
  // view could widen the selection.
  grids::CriteriaField& criteria = controls_->Criteria(kind.criteria);
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

std::optional<std::string> Conversion::JoinedCriteriaProblem(const KindDef& kind,
                                                             grids::CriteriaField& criteria) {
  std::string kindFilter;
  try {
    kindFilter = BuildKindFilter(kind, *controls_);
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

void Conversion::ClaimKinds(const std::string& tab, host::HeldClaims* held) {
  host::Session& session = *connection_.Session();
  const std::string folder = connection_.getLogPath();
  for (const KindDef* kind : TabKinds(tab)) {
    if (!request_.Checked(kind->checkBox)) continue;
    const auto now = std::chrono::system_clock::now();
    std::shared_ptr<host::KindClaim> claim =
        held ? held->Claim(folder, kind->logName, session.UserID(), now)
             : std::make_shared<host::KindClaim>(folder, kind->logName, session.UserID(), now);
    const std::string kindText =
        controls_->Source(kind->headerSource).Description() + " of company " + session.CompanyID();
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

const host::KindClaim* Conversion::ClaimOf(const KindDef& kind) const {
  for (const auto& [claimed, claim] : claims_) {
    if (claimed == &kind) return claim.get();
  }
  return nullptr;
}

std::string Conversion::ChangeFileKey(bool create) {
  try {
    if (host::Session* session = connection_.Session()) return session->ChangeFileKey(create);
  } catch (const std::exception&) {
    // Without the company's key the chain is unkeyed: it still shows every edit made by mistake,
    // and an undo, which insists on the key, refuses the file rather than trust it.
  }
  return {};
}

void Conversion::TakeCheckProblems() {
  host::Session* session = connection_.Session();
  if (!session) return;
  host::ErrorCollection& errors = session->Errors();
  for (int i = 0; i < errors.Count(); ++i) checkProblems_.push_back(errors.Text(i));
  connection_.ClearErrors();
}

ConversionResult Conversion::Run(RunObserver& observer) {
  RunState state;
  ConversionEngine engine(connection_, state, observer);
  if (request_.recordsPerCommit != 0) engine.SetRecordsPerCommit(request_.recordsPerCommit);
  const long lostBefore = connection_.LostLogLines();
  const auto started = std::chrono::system_clock::now();
  const bool preview = request_.preview;
  // A preview changes no file but its own; the next conversion mends what a kill cut short.
  if (!preview) MendChangeFiles(connection_.LogFolderOnDisk());
  const ChangeDigest digest(ChangeFileKey(!preview));
  ChangeFileWriter changeFile(connection_.LogFolderOnDisk(), ChangeHeader(started), started,
                              digest);
  ChangeRecorder recorder(changeFile, preview);
  engine.SetChangeRecorder(&recorder);

  ConversionResult result;
  try {
    // Each kind is set up just before it runs, and a cancel does not skip kinds: every later
    // kind still writes its log and stops at its first poll.
    for (const KindDef* kind : TabKinds(RunTabs().at(static_cast<size_t>(request_.tab)))) {
      if (request_.Checked(kind->checkBox)) {
        result.kinds.push_back(RunKind(*kind, engine, state, observer));
      }
    }
  } catch (const std::exception& error) {
    // A kind that could not be set up ends the run; its log tells where it stopped.
    result.failure = error.what();
    if (!state.CurrentLogFile.empty() && !preview) {
      connection_.WriteLog(0, state.CurrentLogFile, *result.failure);
    }
  }
  recorder.Finish();
  engine.SetChangeRecorder(nullptr);
  engine.SetKindClaim(nullptr);
  if (observer.CancelRequested()) state.CancelRequested = true;
  result.end = result.failure          ? RunEnd::Abandoned
               : state.CancelRequested ? RunEnd::Cancelled
                                       : RunEnd::Finished;
  result.cancelled = state.CancelRequested;
  result.totalUpdated = state.lTotalUpdated;
  result.totalFailed = state.lTotalFailed;
  result.totalSkipped = state.lTotalSkipped;
  result.kindsFailed = state.lKindsFailed;
  result.lostLogLines = connection_.LostLogLines() - lostBefore;
  result.changeFile = changeFile.Path();
  result.lostChangeRows = changeFile.LostRows();
  observer.RunFinished(result);
  return result;
}

KindResult Conversion::RunKind(const KindDef& kind, ConversionEngine& engine, RunState& state,
                               RunObserver& observer) {
  const std::string description = controls_->Source(kind.headerSource).Description();
  const std::int32_t failedBefore = state.lKindsFailed;
  observer.KindStarted(kind, description);
  engine.SetKindClaim(ClaimOf(kind));
  const auto maps = request_.classMaps.find(kind.fromGrid);
  engine.SetClassMaps(maps == request_.classMaps.end() ? nullptr : &maps->second);
  const auto replacements = request_.replacements.find(kind.authorityGrid);
  engine.SetReplacements(replacements == request_.replacements.end() ? nullptr
                                                                     : &replacements->second);
  RunTarget(kind, *controls_, engine);
  if (observer.CancelRequested()) state.CancelRequested = true;
  KindResult done{&kind,
                  description,
                  {CountsOf(kind, *controls_, engine), state.lKindsFailed != failedBefore,
                   state.CancelRequested}};
  observer.KindFinished(done);
  return done;
}

ChangeFileHeader Conversion::ChangeHeader(std::chrono::system_clock::time_point started) const {
  const host::Session& session = *connection_.Session();
  return {.build = host::GetProgramBuild(),
          .company = session.CompanyID(),
          .user = session.UserID(),
          .job = request_.file,
          .started = IsoLocalTime(started),
          .tab = RunTabs().at(static_cast<size_t>(request_.tab)),
          .mode = request_.preview ? ChangeRunMode::Preview : ChangeRunMode::Conversion,
          .undoes = ""};
}

}  // namespace convert
