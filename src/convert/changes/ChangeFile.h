#pragma once

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace convert {

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

/// A change file that cannot be read as one: the message says what is wrong with it.
class ChangeFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The cells as one CSV line ending in CR LF; a cell with a comma, quote or line break is quoted
/// and its quotes doubled.
std::string CsvLine(const std::vector<std::string>& cells);

/// Appends the cells as one CSV line, as CsvLine makes it, to `lines`.
void AppendCsvLine(std::string& lines, std::initializer_list<const std::string*> cells);

/// The lines of CSV text as cells; raises ChangeFileError for an unclosed quote or a line that
/// does not end in a line break.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

/// "yyyy-mm-ddThh:mm:ss+hh:mm" in local time.
std::string IsoLocalTime(std::chrono::system_clock::time_point when);

/// The change file name of a run: "yyyymmdd_hhmmss_<tab>_changes.csv" in local time.
std::string ChangeFileName(std::chrono::system_clock::time_point started, const std::string& tab);

/// The outcome text of a closed run's last row, and of the row that stands last while it runs.
inline constexpr const char* kRunFinished = "the run finished";
inline constexpr const char* kRunNotFinished = "did not finish";

/// Writes one change file: the header when created, then rows as the run hands them over. The file
/// always ends with a whole row: while the run is going that row says it did not finish, and each
/// write puts the new rows and that row again in its place in one write, so a killed run leaves
/// a file whose last row says so. Finish replaces it with the row that says the run finished.
/// Nothing here raises: a file that cannot be written counts its rows as lost.
class ChangeFileWriter {
 public:
  /// Creates a new change file in `folder` (the folder itself is created when missing, not its
  /// parents) named after `started` and the header's tab; a name already taken gets "_2", ...
  ChangeFileWriter(const std::filesystem::path& folder, const ChangeFileHeader& header,
                   std::chrono::system_clock::time_point started);
  ~ChangeFileWriter();
  ChangeFileWriter(const ChangeFileWriter&) = delete;
  ChangeFileWriter& operator=(const ChangeFileWriter&) = delete;

  /// Appends rows in one write.
  void Write(const std::vector<ChangeRow>& rows);
  /// Appends `rows` rows already made into CSV lines (AppendCsvLine) in one write.
  void WriteLines(const std::string& lines, long rows);
  /// Writes the closing row; later writes are dropped.
  void Finish();
  const std::filesystem::path& Path() const { return path_; }
  /// Whether rows written now would reach the file.
  bool Writing() const { return fd_ >= 0 && !finished_; }
  /// Where the next rows go: the file's size without its last row.
  long long End() const { return end_; }
  /// Rows that could not be written.
  long LostRows() const { return lostRows_; }

 private:
  /// Locks the new file and writes its header; false when the header did not fit.
  bool Begin(const ChangeFileHeader& header);
  bool WriteAtEnd(const std::string& text, bool keepMarker);

  std::filesystem::path path_;
  int fd_ = -1;
  long long end_ = 0;  ///< where the "did not finish" row starts
  long lostRows_ = 0;
  bool finished_ = false;
};

/// Puts `rows` (CSV lines) into the change file of a killed run at `at`, where its last row stood
/// when they were staged, unless they are there already; the file goes on ending with the row
/// that says the run did not finish, rewritten with them in one write. The rows go in only where
/// that row still stands, so nothing written since is ever overwritten. True when the file holds
/// them afterwards.
bool PutStagedRows(const std::filesystem::path& file, long long at, const std::string& rows);

/// Mends the change files in `folder` that a kill left ending inside a row: each is cut back to
/// its last whole row and closed with the row that says the run did not finish. Files whose
/// writer still runs are left alone. Rows of a batch the kill cut short are put back afterwards
/// by PutStagedRows when the kind's log is settled.
void MendChangeFiles(const std::filesystem::path& folder);

/// A change file as read back.
struct ChangeFileContents {
  ChangeFileHeader header;
  std::vector<ChangeRow> rows;
  bool finished = false;  ///< false when the run stopped before its end
};

/// Reads a change file; raises ChangeFileError when it is not a whole change file.
ChangeFileContents ReadChangeFile(const std::filesystem::path& file);

}  // namespace convert
