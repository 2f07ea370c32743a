#include "batch/Runner.h"

#include "convert/Conversion.h"

#include <memory>

namespace batch {
namespace {

/// The job as a conversion of its own, checked; nothing when its data sources could not be
/// opened, which is shown and, like a failed start-up, cancels the job.
std::unique_ptr<convert::Conversion> Prepared(const Job& job, JobSession& session,
                                              convert::Claims claims,
                                              host::HeldClaims* held = nullptr) {
  host::AccpacConnection& connection = session.Connection();
  try {
    return std::make_unique<convert::Conversion>(connection, session.Station().dataSources, job,
                                                 claims, held);
  } catch (const std::exception& error) {
    connection.PutError(error.what());
    connection.ShowErrors();
    return nullptr;
  }
}

/// Whether the job was taken; when not, what the controls refused is printed with `nothing`
/// and what the checks refused is shown as the window shows it.
bool Taken(const convert::Conversion& conversion, JobSession& session, const char* nothing,
           std::ostream& out) {
  for (const std::string& problem : conversion.EntryProblems()) out << problem << '\n';
  if (!conversion.EntryProblems().empty()) {
    out << nothing << '\n';
    return false;
  }
  if (conversion.CheckProblems().empty()) return true;
  for (const std::string& problem : conversion.CheckProblems()) {
    session.Connection().PutError(problem);
  }
  session.Connection().ShowErrors();
  return false;
}

/// Where the run's change file is, or that it has none, and the rows it could not take.
void SayChangeFile(const convert::ConversionResult& result, std::ostream& out) {
  if (result.changeFile.empty()) {
    out << "No change file could be written.\n";
  } else {
    out << "Change file: " << result.changeFile.string() << '\n';
  }
  if (result.lostChangeRows != 0) {
    out << result.lostChangeRows << " rows could not be written to the change file.\n";
  }
}

/// Shows the error that ended a run, as the window does.
void ShowFailure(const convert::ConversionResult& result, JobSession& session) {
  if (!result.failure) return;
  session.Connection().PutError(*result.failure);
  session.Connection().ShowErrors();
}

}  // namespace

std::vector<std::string> CheckJob(const Job& job, JobSession& session, host::HeldClaims* claims) {
  convert::Conversion conversion(session.Connection(), session.Station().dataSources, job,
                                 claims ? convert::Claims::Take : convert::Claims::Leave, claims);
  if (!conversion.EntryProblems().empty()) return conversion.EntryProblems();
  return conversion.CheckProblems();
}

ExitStatus StatusOfRun(const convert::ConversionResult& result) {
  switch (result.end) {
    case convert::RunEnd::NotRun:
    case convert::RunEnd::Refused:
      return kRefused;
    case convert::RunEnd::Declined:
    case convert::RunEnd::Abandoned:
    case convert::RunEnd::Cancelled:
      return kCancelled;
    case convert::RunEnd::Finished:
      break;
  }
  return result.Complete() ? kComplete : kIncomplete;
}

ExitStatus PreviewJob(const Job& job, JobSession& session, convert::RunObserver& observer,
                      std::ostream& out, std::filesystem::path* changeFile) {
  Job preview = job;
  preview.preview = true;
  const std::unique_ptr<convert::Conversion> conversion =
      Prepared(preview, session, convert::Claims::Leave);
  if (!conversion) return kCancelled;
  if (!Taken(*conversion, session, "Nothing was previewed.", out)) return kRefused;
  const convert::ConversionResult result = conversion->Run(observer);
  ShowFailure(result, session);
  if (result.end == convert::RunEnd::Abandoned) out << "The preview was abandoned.\n";
  out << "Preview only: nothing was saved.\n";
  SayChangeFile(result, out);
  if (changeFile) *changeFile = result.changeFile;
  return StatusOfRun(result);
}

ExitStatus RunJob(const Job& job, JobSession& session, convert::RunObserver& observer,
                  std::ostream& out, host::HeldClaims* claims, std::filesystem::path* changeFile) {
  std::unique_ptr<convert::Conversion> conversion =
      Prepared(job, session, convert::Claims::Take, claims);
  if (!conversion) return kCancelled;
  if (!Taken(*conversion, session, "Nothing was converted.", out)) return kRefused;
  if (!session.Station().confirm(kBackupQuestion)) {
    out << "Nothing was converted.\n";
    return kCancelled;
  }
  const convert::ConversionResult result = conversion->Run(observer);
  conversion.reset();
  ShowFailure(result, session);
  if (!result.failure) {
    out << convert::FinalMessage(convert::Tabs().at(static_cast<size_t>(job.tab)).caption, result)
        << '\n';
  }
  if (result.end == convert::RunEnd::Abandoned) {
    out << "The run was abandoned; its log tells why.\n";
  }
  out << "Log files: " << session.Connection().LogFolderOnDisk() << '\n';
  SayChangeFile(result, out);
  if (changeFile) *changeFile = result.changeFile;
  if (result.end == convert::RunEnd::Finished && result.lostLogLines != 0) {
    out << result.lostLogLines << " lines could not be written to the conversion log.\n";
  }
  return StatusOfRun(result);
}

}  // namespace batch
