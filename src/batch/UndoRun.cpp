#include "batch/UndoRun.h"

#include "host/HostError.h"
#include "platform/Text.h"

namespace batch {
namespace {

/// Lets the operator's interrupt stop an undo before its next record; the messages also run
/// after each commit, as they do after each record of a conversion.
class UndoWatch : public convert::RunObserver {
 public:
  explicit UndoWatch(Workstation& station) : station_(station) {}
  void LetEventsRun() override { station_.pump.ProcessPendingMessages(); }
  void BatchCommitted() override { station_.pump.ProcessPendingMessages(); }
  bool CancelRequested() const override { return station_.interrupts.Interrupted(); }

 private:
  Workstation& station_;
};

void PrintRefusal(const convert::ChangeFileError& error, std::ostream& out) {
  out << error.what() << '\n' << "Nothing was changed.\n";
}

void PrintResult(const convert::ChangeFileToUndo& file, const convert::UndoResult& result,
                 const std::string& logFolder, std::ostream& out) {
  if (!result.undoneRunFinished)
    out << "The run that wrote " << file.Path().string() << " did not finish.\n";
  for (const auto& [kind, counts] : result.kinds)
    out << convert::UndoCountsLine(kind, counts) << '\n';
  if (result.kinds.empty()) out << "The change file holds no converted record.\n";
  for (const std::string& report : result.reports) out << report << '\n';
  if (result.moreReports > 0) {
    out << "... and " << result.moreReports << " more, listed in the log and the change file.\n";
  }
  if (result.changeFile.empty()) {
    out << "No change file could be written.\n";
  } else {
    out << "Change file: " << result.changeFile.string() << '\n';
  }
  out << "Log file: " << logFolder << "/" << result.logFile << '\n';
}

}  // namespace

std::unique_ptr<convert::ChangeFileToUndo> OpenChangeFile(const std::string& file,
                                                          const std::string& company,
                                                          std::ostream& out) {
  try {
    return std::make_unique<convert::ChangeFileToUndo>(
        convert::UndoRequest{.file = file, .company = platform::UpperCase(company), .job = ""});
  } catch (const convert::ChangeFileError& error) {
    PrintRefusal(error, out);
    return nullptr;
  }
}

ExitStatus UndoChanges(convert::ChangeFileToUndo& file, Workstation& station, std::ostream& out) {
  const std::string& company = file.Request().company;
  JobSession session(station, file.Header().user,
                     company.empty() ? file.Header().company : company);
  if (!session.Load()) return kCancelled;
  convert::UndoResult result;
  try {
    UndoWatch watch(station);
    result = convert::UndoChangeFile(file, session.Connection(), station.dataSources, watch);
  } catch (const convert::ChangeFileError& error) {
    PrintRefusal(error, out);
    return kRefused;
  } catch (const host::HostError& error) {
    // Data sources that cannot be opened end the undo before it changed anything, as they end
    // a start-up.
    session.Connection().PutError(error.what());
    session.Connection().ShowErrors();
    return kCancelled;
  }
  PrintResult(file, result, session.Connection().LogFolderOnDisk(), out);
  if (result.cancelled) {
    out << "The undo was cancelled.\n";
    return kCancelled;
  }
  return result.Whole() ? kComplete : kIncomplete;
}

}  // namespace batch
