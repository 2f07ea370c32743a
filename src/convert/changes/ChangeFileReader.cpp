#include "convert/changes/ChangeFileReader.h"

#include <fcntl.h>

namespace convert {
namespace {
/// No row Ordavel writes comes near this: a key, a field, two values and a message.
constexpr std::size_t kLongestLine = 64 * 1024;
const std::vector<std::string> kColumns = {"Kind",  "Record key", "Field", "Before",
                                           "After", "Outcome",    "Digest"};
/// The columns of the change files of a version that wrote no digest.
const std::vector<std::string> kColumnsWithoutDigest(kColumns.begin(), kColumns.end() - 1);

platform::FileDescriptor OpenRegularFile(const std::filesystem::path& file) {
  // Not blocking, so that a FIFO is refused rather than waited on.
  platform::FileDescriptor opened =
      platform::FileDescriptor::Open(file, O_RDONLY | O_NONBLOCK | O_NOCTTY);
  if (!opened.Valid()) throw ChangeFileError("it cannot be read.");
  if (!platform::PlainFileSize(opened.Get())) throw ChangeFileError("it is not a regular file.");
  return opened;
}

ChangeRunMode ModeNamed(const std::string& value) {
  if (value == "Conversion") return ChangeRunMode::Conversion;
  if (value == "Preview") return ChangeRunMode::Preview;
  if (value == "Undo") return ChangeRunMode::Undo;
  throw ChangeFileError("it names an unknown kind of run, " + value + ".");
}

void ReadHeaderValue(ChangeFileHeader& header, const std::string& name, const std::string& value) {
  if (name == "Company") header.company = value;
  if (name == "User") header.user = value;
  if (name == "Job") header.job = value;
  if (name == "Started") header.started = value;
  if (name == "Tab") header.tab = value;
  if (name == "Undoes") header.undoes = value;
  if (name == "Run") header.mode = ModeNamed(value);
}

}  // namespace

ChangeFileReader::ChangeFileReader(const std::filesystem::path& file)
    : file_(OpenRegularFile(file)), csv_(file_.Get(), kLongestLine) {
  ReadHeader();
}

void ChangeFileReader::ReadHeader() {
  std::optional<std::vector<std::string>> line = csv_.Next();
  if (!line || line->size() != 2 || (*line)[0] != kChangeFileSignature) {
    throw ChangeFileError("it is not a change file of Ordavel.");
  }
  header_.build = (*line)[1];
  headerText_ = CsvLine(*line);
  while ((line = csv_.Next())) {
    headerText_ += CsvLine(*line);
    if (*line == kColumns) {
      headerLines_ = csv_.LineNumber();
      return;
    }
    if (*line == kColumnsWithoutDigest) {
      throw ChangeFileError(
          "it was written by a version of Ordavel that wrote no digest, so nothing proves it "
          "unedited; such files cannot be undone.");
    }
    if (line->size() != 2) {
      throw ChangeFileError("line " + std::to_string(csv_.LineNumber()) + " is damaged.");
    }
    ReadHeaderValue(header_, (*line)[0], (*line)[1]);
  }
  throw ChangeFileError("it has no line naming its columns.");
}

void ChangeFileReader::Restart(const ChangeDigest* digest) {
  csv_.Rewind();
  for (std::size_t i = 0; i < headerLines_; ++i) csv_.Next();
  digest_ = digest;
  head_ = digest ? digest->Start(headerText_) : "";
  finished_ = false;
  ended_ = false;
}

std::optional<ChangeRow> ChangeFileReader::Next() {
  if (ended_) return std::nullopt;
  std::optional<std::vector<std::string>> line = csv_.Next();
  if (!line) throw ChangeFileError("it does not end with the row that ends a run.");
  std::vector<std::string>& cells = *line;
  if (!cells.empty() && cells[0] == kEndOfRun && EndRow(cells)) return std::nullopt;
  if (cells.size() != kColumns.size()) {
    throw ChangeFileError("line " + std::to_string(csv_.LineNumber()) + " does not have " +
                          std::to_string(kColumns.size()) + " columns.");
  }
  Prove(cells);
  return ChangeRow{std::move(cells[0]), std::move(cells[1]), std::move(cells[2]),
                   std::move(cells[3]), std::move(cells[4]), std::move(cells[5])};
}

bool ChangeFileReader::EndRow(const std::vector<std::string>& cells) {
  const std::vector<std::string> notFinished = {kEndOfRun, "", "", "", "", kRunNotFinished};
  if (cells == notFinished) {
    finished_ = false;
  } else if (cells.size() == kColumns.size() && cells[5] == kRunFinished) {
    Prove(cells);
    finished_ = true;
  } else {
    return false;
  }
  if (csv_.Next()) throw ChangeFileError("it does not end with the row that ends a run.");
  ended_ = true;
  return true;
}

void ChangeFileReader::Prove(const std::vector<std::string>& cells) {
  if (!digest_) return;
  std::string line;
  AppendCsvLine(line, {&cells[0], &cells[1], &cells[2], &cells[3], &cells[4], &cells[5]});
  head_ = digest_->Next(head_, line);
  if (head_ != cells[6]) throw ChangeFileChanged();
}

ChangeFileContents ReadChangeFile(const std::filesystem::path& file, const ChangeDigest* digest) {
  ChangeFileReader reader(file);
  ChangeFileContents contents{reader.Header(), {}, false};
  reader.Restart(digest);
  while (std::optional<ChangeRow> row = reader.Next()) contents.rows.push_back(std::move(*row));
  contents.finished = reader.Finished();
  return contents;
}

}  // namespace convert
