#pragma once

#include "convert/KindControls.h"
#include "convert/KindCounts.h"
#include "convert/KindTable.h"
#include "convert/RunObserver.h"
#include "convert/UndoRecords.h"
#include "convert/UndoRules.h"
#include "convert/changes/ChangeFileReader.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace convert {

/// What an undo is asked to do: put back what the run of a change file converted.
struct UndoRequest {
  std::filesystem::path file;
  /// The company the undo is for, when not the one the file names; a file of another company is
  /// refused. Empty: the file's own.
  std::string company{};
  /// The job file of a batch run, for the header of the undo's own change file.
  std::string job{};
};

/// What an undo did.
struct UndoResult : UndoTally {
  /// The undo's own change file; empty when none could be made.
  std::filesystem::path changeFile;
  /// The undo's own log file, a name in the log folder.
  std::string logFile;
  /// Whether the run that wrote the undone change file finished.
  bool undoneRunFinished = true;
  /// Whether the undo was stopped before its last record.
  bool cancelled = false;
  /// Why the undo stopped before its last record when the file itself stopped it (it was
  /// changed while the undo ran); empty otherwise.
  std::string stoppedBy;

  /// Whether every converted record was put back: the undone run had finished, the undo was
  /// not stopped, and no record was left alone or refused.
  bool Whole() const;
};

/// A change file opened to be undone. It is read as a stream from one open file, so memory stays
/// flat in its size, and checked whole before anything is asked or changed: first what can be
/// checked without signing on, then, signed on, against the company. Every refusal raises
/// ChangeFileError with the sentence to show: "The change file F cannot be undone: why", or
/// "F was changed after it was written."
class ChangeFileToUndo {
 public:
  /// Opens the request's file and checks it without signing on: a regular file, a whole change
  /// file of a conversion or an undo, of a version that proves its rows, every row of a known
  /// kind of its tab, and of the request's company when it names one.
  explicit ChangeFileToUndo(UndoRequest request);

  const UndoRequest& Request() const { return request_; }
  const std::filesystem::path& Path() const { return request_.file; }
  const ChangeFileHeader& Header() const { return reader_->Header(); }
  /// Refuses the file when it does not belong to `company`.
  void CheckCompany(const std::string& company) const;
  /// Checks the file for the signed-on company: that it is the file's, that the digest chain
  /// proves every row under the company's key, and that every record names only fields a
  /// conversion of its kind changes.
  void CheckFor(KindControls& controls, host::AccpacConnection& connection);
  /// The kinds of the converted records, as the last check found them.
  const std::vector<const KindDef*>& Kinds() const { return kinds_; }
  /// The number of converted records, as the last check found them.
  std::size_t ConvertedRecords() const { return converted_; }
  /// Whether the run that wrote the file finished, as the last check found it.
  bool Finished() const { return finished_; }
  /// The digest chain of the company, once CheckFor proved the file with it.
  const ChangeDigest& Digest() const { return *digest_; }

  /// Hands the file's converted records, proven again as they are read, one at a time to `undo`
  /// until it returns false. Only after CheckFor.
  void ForEachConverted(const std::function<bool(const RecordChange&)>& undo);
  UndoRules& Rules() { return *rules_; }

 private:
  void Scan();
  [[noreturn]] void Refuse(const ChangeFileError& error) const;

  UndoRequest request_;
  std::unique_ptr<ChangeFileReader> reader_;
  std::unique_ptr<ChangeDigest> digest_;
  std::unique_ptr<UndoRules> rules_;
  std::vector<const KindDef*> kinds_;
  std::size_t converted_ = 0;
  bool finished_ = false;
};

/// One line of what an undo did with a kind: "<kind>: N to undo, N put back, N changed since,
/// N failed".
std::string UndoCountsLine(const std::string& kind, const KindCounts& counts);

/// Puts back the values before of every record that a change file says was converted and that
/// still holds exactly its values after, through data sources of its own (UndoRecords), logged in
/// a log of its own and written to a change file of its own, which can itself be undone to redo
/// the change. A record changed since is left alone and reported; one whose rows are incomplete
/// is refused and reported. What killed runs of its kinds left staged is settled first. Raises
/// ChangeFileError, changing nothing, when the file does not pass CheckFor or its kinds are being
/// converted by another run. `observer` is told the records to undo, each one done and each
/// commit, and asked before each record whether to stop there.
UndoResult UndoChangeFile(ChangeFileToUndo& file, host::AccpacConnection& connection,
                          host::DataSourceFactory& dataSources, RunObserver& observer);

}  // namespace convert
