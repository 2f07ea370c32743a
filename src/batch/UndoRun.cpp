#include "batch/UndoRun.h"

#include "platform/Text.h"

namespace batch {
namespace {

void printRefusal(const convert::ChangeFileError& error, std::ostream& out) {
  out << error.what() << '\n' << "Nothing was changed.\n";
}

void printResult(const convert::ChangeFileToUndo& file, const convert::UndoResult& result,
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
    auto opened = std::make_unique<convert::ChangeFileToUndo>(file);
    if (!company.empty()) opened->CheckCompany(platform::UpperCase(company));
    return opened;
  } catch (const convert::ChangeFileError& error) {
    printRefusal(error, out);
    return nullptr;
  }
}

ExitStatus UndoChanges(convert::ChangeFileToUndo& file, const std::string& company,
                       Workstation& station, std::ostream& out) {
  JobWindow window(station, file.Header().user,
                   company.empty() ? file.Header().company : platform::UpperCase(company));
  if (!window.Load()) return kCancelled;
  convert::UndoResult result;
  try {
    // Ctrl-C stops the undo before its next record; the messages also run after each commit,
    // as they do after each record of a conversion.
    result = convert::UndoChangeFile(
        file, window.Window(), *window.Window().Connection(), "",
        [&station](size_t, size_t) {
          station.pump.ProcessPendingMessages();
          return !station.interrupts.Interrupted();
        },
        [&station] { station.pump.ProcessPendingMessages(); });
  } catch (const convert::ChangeFileError& error) {
    printRefusal(error, out);
    return kRefused;
  }
  printResult(file, result, window.Window().Connection()->LogFolderOnDisk(), out);
  if (result.cancelled) {
    out << "The undo was cancelled.\n";
    return kCancelled;
  }
  return result.Whole() ? kComplete : kIncomplete;
}

}  // namespace batch
