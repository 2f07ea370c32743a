#include "batch/UndoRun.h"

#include "convert/ChangeUndo.h"
#include "platform/Text.h"

namespace batch {

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
  JobWindow window(station, contents.header.user,
                   company.empty() ? contents.header.company : platform::UpperCase(company));
  if (!window.Load()) return kCancelled;
  convert::UndoResult result;
  try {
    // Ctrl-C stops the undo before its next record.
    result = convert::UndoChangeFile(file, window.Window(), *window.Window().Connection(), "",
                                     [&station](size_t, size_t) {
                                       station.pump.ProcessPendingMessages();
                                       return !station.interrupts.Interrupted();
                                     });
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
  out << "Log file: " << window.Window().Connection()->LogFolderOnDisk() << "/" << result.logFile
      << '\n';
  if (result.cancelled) {
    out << "The undo was cancelled.\n";
    return kCancelled;
  }
  return result.Whole() ? kComplete : kIncomplete;
}

}  // namespace batch
