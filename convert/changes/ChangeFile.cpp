#include "convert/changes/ChangeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <sstream>

namespace convert {
namespace {

constexpr const char* kSignature = "Ordavel change file";
constexpr const char* kEndOfRun = "End of run";
const std::vector<std::string> kColumns = {"Kind",   "Record key", "Field",
                                           "Before", "After",      "Outcome"};

std::tm localTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

std::string formatted(std::chrono::system_clock::time_point when, const char* format) {
  const std::tm local = localTime(when);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

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
  std::string offset = formatted(when, "%z");  // "+hhmm"
  if (offset.size() == 5) offset.insert(3, ":");
  return formatted(when, "%Y-%m-%dT%H:%M:%S") + offset;
}

std::string ChangeFileName(std::chrono::system_clock::time_point started, const std::string& tab) {
  return formatted(started, "%Y%m%d_%H%M%S") + "_" + tab + "_changes.csv";
}

ChangeFileWriter::ChangeFileWriter(const std::filesystem::path& folder,
                                   const ChangeFileHeader& header,
                                   std::chrono::system_clock::time_point started) {
  ::mkdir(folder.c_str(), 0777);
  const std::string name = ChangeFileName(started, header.tab);
  const std::string stem = name.substr(0, name.size() - 4);
  for (int attempt = 1; attempt < 100 && fd_ < 0; ++attempt) {
    path_ = folder / (attempt == 1 ? name : stem + "_" + std::to_string(attempt) + ".csv");
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) return;
  const std::string text = headerText(header);
  if (!WriteAtEnd(text, true)) {
    ::close(fd_);
    fd_ = -1;
  }
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

bool PutStagedRows(const std::filesystem::path& file, long long at, const std::string& rows) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  bool held = false;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= at) {
    const std::string marker = endRow(kRunNotFinished);
    // Only as much as the rows or the end row take: the rest of a long run's file tells nothing.
    const size_t size = static_cast<size_t>(info.st_size - at);
    std::string tail(std::min(size, std::max(rows.size(), marker.size())), '\0');
    const ssize_t n = ::pread(fd, tail.data(), tail.size(), static_cast<off_t>(at));
    if (n == static_cast<ssize_t>(tail.size())) {
      held = tail.starts_with(rows) ||
             (size == marker.size() && tail.starts_with(marker) && writeRowsAt(fd, at, rows, true));
    }
  }
  ::close(fd);
  return held;
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
