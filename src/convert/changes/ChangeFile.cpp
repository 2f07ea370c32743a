#include "convert/changes/ChangeFile.h"

#include "platform/LocalTime.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

namespace convert {
namespace {

constexpr const char* kSignature = "Ordavel change file";
constexpr const char* kEndOfRun = "End of run";
const std::vector<std::string> kColumns = {"Kind",   "Record key", "Field",
                                           "Before", "After",      "Outcome"};

const char* modeName(ChangeRunMode mode) {
  switch (mode) {
    case ChangeRunMode::Preview:
      return "Preview";
    case ChangeRunMode::Undo:
      return "Undo";
    case ChangeRunMode::Conversion:
      break;
  }
  return "Conversion";
}

std::string endRow(const char* outcome) {
  return CsvLine({kEndOfRun, "", "", "", "", outcome});
}

/// Writes `text`, followed by the row of a run that did not finish when `keepMarker`, at `at` in
/// one positioned write that replaces the last row, so the file never ends inside a row.
bool writeRowsAt(int fd, long long at, const std::string& text, bool keepMarker) {
  const std::string data = keepMarker ? text + endRow(kRunNotFinished) : text;
  const ssize_t written = ::pwrite(fd, data.data(), data.size(), static_cast<off_t>(at));
  return written == static_cast<ssize_t>(data.size());
}

std::string headerText(const ChangeFileHeader& header) {
  std::string text = CsvLine({kSignature, header.build});
  text += CsvLine({"Company", header.company});
  text += CsvLine({"User", header.user});
  text += CsvLine({"Job", header.job});
  text += CsvLine({"Started", header.started});
  text += CsvLine({"Tab", header.tab});
  text += CsvLine({"Run", modeName(header.mode)});
  text += CsvLine({"Undoes", header.undoes});
  return text + CsvLine(kColumns);
}

/// Reads the key-value lines of the header up to the column line; returns the first row's index.
size_t readHeader(const std::vector<std::vector<std::string>>& lines, ChangeFileHeader& header) {
  if (lines.empty() || lines[0].size() != 2 || lines[0][0] != kSignature) {
    throw ChangeFileError("it is not a change file of Ordavel.");
  }
  header.build = lines[0][1];
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string>& line = lines[i];
    if (line == kColumns) return i + 1;
    if (line.size() != 2) throw ChangeFileError("line " + std::to_string(i + 1) + " is damaged.");
    const std::string& value = line[1];
    if (line[0] == "Company") header.company = value;
    if (line[0] == "User") header.user = value;
    if (line[0] == "Job") header.job = value;
    if (line[0] == "Started") header.started = value;
    if (line[0] == "Tab") header.tab = value;
    if (line[0] == "Undoes") header.undoes = value;
    if (line[0] == "Run") {
      if (value == "Conversion") {
        header.mode = ChangeRunMode::Conversion;
      } else if (value == "Preview") {
        header.mode = ChangeRunMode::Preview;
      } else if (value == "Undo") {
        header.mode = ChangeRunMode::Undo;
      } else {
        throw ChangeFileError("it names an unknown kind of run, " + value + ".");
      }
    }
  }
  throw ChangeFileError("it has no line naming its columns.");
}

}  // namespace

namespace {

void appendCell(std::string& line, const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos) {
    line += cell;
    return;
  }
  line += '"';
  for (char c : cell) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    appendCell(line, cells[i]);
  }
  return line + "\r\n";
}

void AppendCsvLine(std::string& lines, std::initializer_list<const std::string*> cells) {
  bool first = true;
  for (const std::string* cell : cells) {
    if (!first) lines += ',';
    first = false;
    appendCell(lines, *cell);
  }
  lines += "\r\n";
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> cells;
  std::string cell;
  bool quoted = false;
  bool lineOpen = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    lineOpen = true;
    if (quoted) {
      if (c != '"') {
        cell += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        cell += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.push_back(std::move(cell));
      cell.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      cells.push_back(std::move(cell));
      cell.clear();
      lines.push_back(std::move(cells));
      cells.clear();
      lineOpen = false;
      ++i;
    } else {
      cell += c;
    }
  }
  if (quoted || lineOpen) {
    throw ChangeFileError("it ends in the middle of line " + std::to_string(lines.size() + 1) +
                          ".");
  }
  return lines;
}

std::string IsoLocalTime(std::chrono::system_clock::time_point when) {
  std::string offset = platform::FormatLocalTime(when, "%z");  // "+hhmm"
  if (offset.size() == 5) offset.insert(3, ":");
  return platform::FormatLocalTime(when, "%Y-%m-%dT%H:%M:%S") + offset;
}

std::string ChangeFileName(std::chrono::system_clock::time_point started, const std::string& tab) {
  return platform::FormatLocalTime(started, "%Y%m%d_%H%M%S") + "_" + tab + "_changes.csv";
}

namespace {

/// The names a run's change file may take: the first, then with "_2", "_3", ...
std::filesystem::path candidateName(const std::filesystem::path& folder, const std::string& name,
                                    int attempt) {
  if (attempt == 1) return folder / name;
  return folder / (name.substr(0, name.size() - 4) + "_" + std::to_string(attempt) + ".csv");
}

constexpr int kNameAttempts = 99;

/// Gives the unnamed file `fd` the first free name; empty when none could be given.
std::filesystem::path giveName(int fd, const std::filesystem::path& folder,
                               const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
    std::filesystem::path path = candidateName(folder, name, attempt);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return path;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

}  // namespace

ChangeFileWriter::ChangeFileWriter(const std::filesystem::path& folder,
                                   const ChangeFileHeader& header,
                                   std::chrono::system_clock::time_point started) {
  ::mkdir(folder.c_str(), 0777);
  const std::string name = ChangeFileName(started, header.tab);
  // Written whole before it gets its name, the file never shows empty or without its header, not
  // after a kill nor on a full disk.
  fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
  if (fd_ >= 0) {
    const bool begun = Begin(header);
    if (begun) path_ = giveName(fd_, folder, name);
    if (!path_.empty()) return;
    ::close(fd_);
    fd_ = -1;
    end_ = 0;
    if (!begun) return;  // no room for the header: no file rather than a headless one
  }
  // A file system without unnamed files, or without /proc to name one: created by name.
  for (int attempt = 1; attempt <= kNameAttempts && fd_ < 0; ++attempt) {
    path_ = candidateName(folder, name, attempt);
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ >= 0 && !Begin(header)) {
    ::close(fd_);
    fd_ = -1;
  }
}

bool ChangeFileWriter::Begin(const ChangeFileHeader& header) {
  // Held for the writer's life and dropped by the system when the process dies, so that mending
  // the files of killed runs never touches the file of a run still going.
  ::flock(fd_, LOCK_EX | LOCK_NB);
  return WriteAtEnd(headerText(header), true);
}

ChangeFileWriter::~ChangeFileWriter() {
  if (fd_ >= 0) ::close(fd_);
}

bool ChangeFileWriter::WriteAtEnd(const std::string& text, bool keepMarker) {
  if (!writeRowsAt(fd_, end_, text, keepMarker)) return false;
  end_ += static_cast<long long>(text.size());
  return true;
}

void ChangeFileWriter::Write(const std::vector<ChangeRow>& rows) {
  std::string text;
  for (const ChangeRow& row : rows) {
    AppendCsvLine(text, {&row.kind, &row.key, &row.field, &row.before, &row.after, &row.outcome});
  }
  WriteLines(text, static_cast<long>(rows.size()));
}

void ChangeFileWriter::WriteLines(const std::string& lines, long rows) {
  if (rows == 0) return;
  if (fd_ < 0 || finished_ || !WriteAtEnd(lines, true)) lostRows_ += rows;
}

void ChangeFileWriter::Finish() {
  if (fd_ < 0 || finished_) return;
  finished_ = true;
  // The closing row is longer than the one it replaces, so nothing of that one is left over.
  WriteAtEnd(endRow(kRunFinished), false);
}

namespace {

/// Whether `tail`, what a killed run's change file holds from where its last write began, is
/// what that write of `data` over the row `marker` can leave when a kill cuts it short: the first
/// bytes of `data`, then whatever of `marker` they did not reach (or, once the file was mended,
/// its whole rows among them and `marker`).
bool CutShortWriteOf(const std::string& tail, const std::string& data, const std::string& marker) {
  if (tail.size() > data.size()) return false;
  const size_t common = static_cast<size_t>(
      std::mismatch(tail.begin(), tail.end(), data.begin()).first - tail.begin());
  if (common == tail.size()) return true;
  // Mended after the kill: cut back to its last whole row and closed with the end row.
  if (tail.compare(common, std::string::npos, marker) == 0) return true;
  return tail.size() == marker.size() &&
         tail.compare(common, std::string::npos, marker, common) == 0;
}

}  // namespace

bool PutStagedRows(const std::filesystem::path& file, long long at, const std::string& rows) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  bool held = false;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= at) {
    const std::string marker = endRow(kRunNotFinished);
    const std::string data = rows + marker;
    // Only as much as the rows and the end row take: the rest of a long run's file tells nothing.
    const size_t size = static_cast<size_t>(info.st_size - at);
    std::string tail(std::min(size, data.size() + 1), '\0');
    const ssize_t n = ::pread(fd, tail.data(), tail.size(), static_cast<off_t>(at));
    if (n == static_cast<ssize_t>(tail.size())) {
      // The end row still stands where the rows go, or the write of them after the commit was
      // cut short by the kill: writing them again mends the file. Otherwise they are there.
      held = tail != data && CutShortWriteOf(tail, data, marker) ? writeRowsAt(fd, at, rows, true)
                                                                 : tail.starts_with(rows);
    }
  }
  ::close(fd);
  return held;
}

namespace {

/// Where the last whole CSV line of `text` ends: after its last line break outside quotes.
size_t EndOfLastWholeLine(const std::string& text) {
  size_t end = 0;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == '\n' && !quoted) end = i + 1;
  }
  return end;
}

/// Where a change file whose last write a kill cut short is cut back to. A write cut short within
/// the length of the end row it replaced leaves a line of the end row's length ending like it (its
/// first bytes new, the rest of the old row): that line goes. Otherwise what follows the last
/// whole line goes.
size_t MendedSize(const std::string& text) {
  const std::string marker = endRow(kRunNotFinished);
  const size_t end = EndOfLastWholeLine(text);
  constexpr size_t kSameEnding = 4;
  if (end == text.size() && end >= marker.size() &&
      (end == marker.size() || text[end - marker.size() - 1] == '\n') &&
      text.compare(end - kSameEnding, kSameEnding, marker, marker.size() - kSameEnding) == 0) {
    return end - marker.size();
  }
  return end;
}

/// Whether `text` ends with a whole end row, of a finished run or of one that did not finish.
bool EndsWithEndRow(const std::string& text) {
  if (!text.ends_with("\r\n")) return false;
  const size_t lastBreak = text.size() >= 2 ? text.rfind('\n', text.size() - 2) : std::string::npos;
  const size_t lastLine = lastBreak == std::string::npos ? 0 : lastBreak + 1;
  return text.compare(lastLine, std::strlen(kEndOfRun), kEndOfRun) == 0;
}

/// Cuts a change file that a kill left ending inside a row back to its last whole row and closes
/// it with the row of a run that did not finish; a file whose writer still runs is left alone.
void MendChangeFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return;
  struct stat info {};
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      info.st_size > 0) {
    // The end row is short: the last bytes tell a whole file without reading a long one.
    const off_t tailSize = std::min<off_t>(info.st_size, 256);
    std::string tail(static_cast<size_t>(tailSize), '\0');
    std::string text;
    if (::pread(fd, tail.data(), tail.size(), info.st_size - tailSize) == tailSize &&
        !EndsWithEndRow(tail)) {
      text.resize(static_cast<size_t>(info.st_size));
    }
    if (!text.empty() && ::pread(fd, text.data(), text.size(), 0) == info.st_size) {
      const size_t end = MendedSize(text);
      if (::ftruncate(fd, static_cast<off_t>(end)) == 0) writeRowsAt(fd, end, "", true);
    }
  }
  ::close(fd);
}

}  // namespace

void MendChangeFiles(const std::filesystem::path& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().filename().string().ends_with("_changes.csv")) MendChangeFile(entry.path());
  }
}

ChangeFileContents ReadChangeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ChangeFileError("it cannot be read.");
  std::ostringstream text;
  text << in.rdbuf();
  const std::vector<std::vector<std::string>> lines = ParseCsv(text.str());
  ChangeFileContents contents;
  size_t i = readHeader(lines, contents.header);
  for (; i < lines.size(); ++i) {
    const std::vector<std::string>& line = lines[i];
    if (line.size() != kColumns.size()) {
      throw ChangeFileError("line " + std::to_string(i + 1) + " does not have " +
                            std::to_string(kColumns.size()) + " columns.");
    }
    if (line[0] == kEndOfRun) break;
    contents.rows.push_back({line[0], line[1], line[2], line[3], line[4], line[5]});
  }
  if (i >= lines.size() || i + 1 != lines.size() ||
      (lines[i][5] != kRunFinished && lines[i][5] != kRunNotFinished)) {
    throw ChangeFileError("it does not end with the row that ends a run.");
  }
  contents.finished = lines[i][5] == kRunFinished;
  return contents;
}

}  // namespace convert
