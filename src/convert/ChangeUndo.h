#pragma once

#include "convert/KindControls.h"
#include "convert/KindCounts.h"
#include "convert/changes/ChangeFile.h"
#include "host/AccpacConnection.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace convert {

/// What an undo did.
struct UndoResult {
  /// Per kind, by its description: records = converted records in the change file, updated = put
  /// back, skipped = changed since (left alone), failed = refused by the ERP.
  std::vector<std::pair<std::string, KindCounts>> kinds;
  /// The undo's own change file.
  std::filesystem::path changeFile;
  /// The undo's own log file, a name in the log folder.
  std::string logFile;
  /// Whether the run that wrote the undone change file finished.
  bool undoneRunFinished = true;
  /// Whether the undo was stopped before its last record.
  bool cancelled = false;
  /// What the ERP or the file system reported for records that were left alone or failed, one
  /// line per record.
  std::vector<std::string> reports;

  /// Whether every converted record was put back: the undone run had finished, the undo was
  /// not stopped, and no record was left alone or refused.
  bool Whole() const;
};

/// One line of what an undo did with a kind: "<kind>: N to undo, N put back, N changed since,
/// N failed".
std::string UndoCountsLine(const std::string& kind, const KindCounts& counts);

/// Puts back the values before of every record that a change file says was converted and that
/// still holds exactly its values after, through the window's data sources: each value put with
/// verification, each record committed on its own, logged in a log of its own and written to a
/// change file of its own, which can itself be undone to redo the change. A record changed since
/// is left alone and reported. Raises ChangeFileError, changing nothing, for a file that is not
/// a whole change file, belongs to another company, is a preview's, names an unknown kind, or
/// whose kinds another run is converting.
/// `proceed` is asked before each record with the records done and the records to undo, so a
/// window can show progress and let pending messages run; false stops the undo there.
UndoResult UndoChangeFile(const std::filesystem::path& file, KindControls& controls,
                          host::AccpacConnection& connection, const std::string& job = "",
                          const std::function<bool(size_t done, size_t total)>& proceed = nullptr);

}  // namespace convert
