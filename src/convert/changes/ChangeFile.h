#pragma once

#include "convert/changes/ChangeDigest.h"
#include "convert/changes/CsvCodec.h"

#include <chrono>
#include <string>
#include <vector>

namespace convert {

/// The first field of a change file's first line.
inline constexpr const char* kChangeFileSignature = "Ordavel change file";

/// What kind of run wrote a change file.
enum class ChangeRunMode {
  Conversion,  ///< Convert: the rows say what was saved
  Preview,     ///< Preview: the rows say what a conversion would save; nothing was saved
  Undo,        ///< Undo of another change file: the rows say what was put back
};

/// The header of a change file: which program, company, user, job and time the run was.
struct ChangeFileHeader {
  std::string build;
  std::string company;
  std::string user;
  std::string job;      ///< the job file of a batch run; empty in the window
  std::string started;  ///< ISO 8601 local time with its offset from UTC
  std::string tab;      ///< the module tab, such as "AR"
  ChangeRunMode mode = ChangeRunMode::Conversion;
  std::string undoes;  ///< for an undo, the change file it undid
  bool operator==(const ChangeFileHeader&) const = default;
};

/// One field of one record a run touched or looked at, and what became of the record.
struct ChangeRow {
  std::string kind;  ///< the kind's log name, such as "AR_Customers"
  std::string key;   ///< the record key as the conversion log writes it
  std::string field;
  std::string before;
  std::string after;
  std::string outcome;
  bool operator==(const ChangeRow&) const = default;
};

/// A change file whose digest chain does not hold: it was edited after Ordavel wrote it.
class ChangeFileChanged : public ChangeFileError {
 public:
  ChangeFileChanged() : ChangeFileError("it was changed after it was written.") {}
};

/// "Conversion", "Preview" or "Undo", as a change file's header and name say it.
const char* ChangeRunModeName(ChangeRunMode mode);

/// "yyyy-mm-ddThh:mm:ss+hh:mm" in local time.
std::string IsoLocalTime(std::chrono::system_clock::time_point when);

/// The change file name of a run, in local time: "yyyymmdd_hhmmss_<tab>_conversion_changes.csv",
/// "..._preview_changes.csv" or "..._undo_changes.csv", so that the three tell themselves apart
/// in a file dialog and all end alike.
std::string ChangeFileName(std::chrono::system_clock::time_point started, const std::string& tab,
                           ChangeRunMode mode);

/// Whether `name` is the name of a change file.
bool IsChangeFileName(const std::string& name);

/// The outcome text of a closed run's last row, and of the row that stands last while it runs.
inline constexpr const char* kRunFinished = "the run finished";
inline constexpr const char* kRunNotFinished = "did not finish";
/// The first cell of the row that ends a run.
inline constexpr const char* kEndOfRun = "End of run";

/// The lines of the header, up to and with the line naming the columns, as the file holds them.
std::string ChangeHeaderText(const ChangeFileHeader& header);

/// The row that stands last while a run goes on. It carries no digest, so that a run killed
/// after any whole row (and a file mended after a kill) ends with the same bytes; a file ending
/// with it is never taken for a finished run's.
std::string NotFinishedRow();

/// Appends `row` to `lines` as the file holds it: its cells and its digest after `head`, which
/// becomes the row's digest.
void AppendSignedRow(std::string& lines, const ChangeDigest& digest, std::string& head,
                     const ChangeRow& row);

}  // namespace convert
