#pragma once

#include "convert/KindCounts.h"
#include "convert/RunObserver.h"
#include "convert/changes/ChangeFile.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace convert {

/// What an undo is asked to do: put back what the run of a change file converted.
struct UndoRequest {
  std::filesystem::path file;
  /// The company the undo signs on to, when not the one the file names; the undo refuses a file
  /// of another company.
  std::string company{};
  /// The job file of a batch run, for the header of the undo's own change file.
  std::string job{};
};

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
/// still holds exactly its values after, through data sources of its own: each value put with
/// verification, each record committed on its own, logged in a log of its own and written to a
/// change file of its own, which can itself be undone to redo the change. A record changed since
/// is left alone and reported. Raises ChangeFileError, changing nothing, for a file that is not
/// a whole change file, belongs to another company than the signed-on one, is a preview's, names
/// an unknown kind, or whose kinds another run is converting. `observer` is told the records to
/// undo and each one done, and asked before each record whether to stop there.
UndoResult UndoChangeFile(const UndoRequest& request, host::AccpacConnection& connection,
                          host::DataSourceFactory& dataSources, RunObserver& observer);

}  // namespace convert
