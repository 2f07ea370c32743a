#include "batch/UndoRun.h"

#include "convert/ChangeUndo.h"
#include "platform/Text.h"

namespace batch {
namespace {

/// Lets the operator's interrupt stop an undo before its next record.
class UndoWatch : public convert::RunObserver {
 public:
  explicit UndoWatch(Workstation& station) : station_(station) {}
  void LetEventsRun() override { station_.pump.ProcessPendingMessages(); }
  bool CancelRequested() const override { return station_.interrupts.Interrupted(); }

 private:
  Workstation& station_;
};

}  // namespace

bool ReadableChangeFile(const std::string& file, std::ostream& out) {
  try {
    convert::ReadChangeFile(file);
    return true;
  } catch (const convert::ChangeFileError& error) {
    out << "The change file " << file << " cannot be undone: " << error.what() << '\n'
        << "Nothing was changed.\n";
    return false;
  }
}

ExitStatus UndoChanges(const std::string& file, const std::string& company, Workstation& station,
                       std::ostream& out) {
  if (!ReadableChangeFile(file, out)) return kRefused;
  const convert::ChangeFileContents contents = convert::ReadChangeFile(file);
  const convert::UndoRequest request{
      .file = file,
      .company = company.empty() ? contents.header.company : platform::UpperCase(company),
      .job = ""};
  JobSession session(station, contents.header.user, request.company);
  if (!session.Load()) return kCancelled;
  convert::UndoResult result;
  try {
    // Ctrl-C stops the undo before its next record.
    UndoWatch watch(station);
    result = convert::UndoChangeFile(request, session.Connection(), station.dataSources, watch);
  } catch (const convert::ChangeFileError& error) {
    out << error.what() << '\n' << "Nothing was changed.\n";
    return kRefused;
  }
  if (!result.undoneRunFinished) out << "The run that wrote " << file << " did not finish.\n";
  for (const auto& [kind, counts] : result.kinds)
    out << convert::UndoCountsLine(kind, counts) << '\n';
  if (result.kinds.empty()) out << "The change file holds no converted record.\n";
  for (const std::string& report : result.reports) out << report << '\n';
  if (result.changeFile.empty()) {
    out << "No change file could be written.\n";
  } else {
    out << "Change file: " << result.changeFile.string() << '\n';
  }
  out << "Log file: " << session.Connection().LogFolderOnDisk() << "/" << result.logFile << '\n';
  if (result.cancelled) {
    out << "The undo was cancelled.\n";
    return kCancelled;
  }
  return result.Whole() ? kComplete : kIncomplete;
}

}  // namespace batch
