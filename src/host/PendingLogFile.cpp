#include "host/PendingLogFile.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>

#include <charconv>
#include <random>

namespace host {
namespace {

constexpr const char* kHeader = "Ordavel pending log 3\n";
/// A file an earlier version staged: the same without change rows.
constexpr const char* kHeaderWithoutChanges = "Ordavel pending log 2\n";
constexpr const char* kEnd = "end ";

/// Texts go out as their length, a colon and their bytes, so that any byte may be in them.
void PutText(std::string& out, const std::string& text) {
  out += std::to_string(text.size());
  out += ':';
  out += text;
  out += ' ';
}

void PutNumber(std::string& out, long number) {
  out += std::to_string(number);
  out += ' ';
}

/// A stage starts and ends with its number, so that a stage cut short over a longer one before it
/// never reads as complete.
std::string Serialized(const StagedBatch& batch, std::uint64_t stage) {
  std::string out = kHeader;
  PutNumber(out, static_cast<long>(stage));
  PutText(out, batch.logFile);
  PutNumber(out, static_cast<long>(batch.logSize));
  PutNumber(out, batch.lineCount);
  PutText(out, batch.lines);
  PutNumber(out, static_cast<long>(batch.probes.size()));
  for (const RecordProbe& probe : batch.probes) {
    PutNumber(out, static_cast<long>(probe.key.size()));
    for (const auto& [number, text] : probe.key) {
      PutNumber(out, number);
      PutText(out, text);
    }
    PutNumber(out, probe.detailField);
    PutText(out, probe.detailValue);
    PutNumber(out, probe.existedBefore ? 1 : 0);
    PutNumber(out, probe.existsAfter ? 1 : 0);
    PutNumber(out, static_cast<long>(probe.fields.size()));
    for (const RecordProbe::FieldState& field : probe.fields) {
      PutNumber(out, field.number);
      PutText(out, field.before);
      PutText(out, field.after);
    }
    out += '\n';
  }
  PutText(out, batch.changeFile);
  PutNumber(out, static_cast<long>(batch.changeSize));
  PutText(out, batch.changeRows);
  return out + kEnd + std::to_string(stage) + "\n";
}

/// Reads what `Serialized` wrote; any deviation makes the whole file unreadable.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Literal(std::string_view literal) {
    if (!ok_ || !text_.starts_with(literal)) return ok_ = false;
    text_.remove_prefix(literal.size());
    return true;
  }
  long Number() {
    SkipSpace();
    long number = 0;
    auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), number);
    if (error != std::errc() || number < 0) ok_ = false;
    if (ok_) text_.remove_prefix(static_cast<size_t>(end - text_.data()));
    return ok_ ? number : 0;
  }
  std::string Text() {
    const long length = Number();
    if (!ok_ || !Literal(":") || text_.size() < static_cast<size_t>(length)) {
      ok_ = false;
      return {};
    }
    std::string text(text_.substr(0, static_cast<size_t>(length)));
    text_.remove_prefix(static_cast<size_t>(length));
    return text;
  }
  void SkipSpace() {
    while (!text_.empty() && (text_.front() == ' ' || text_.front() == '\n'))
      text_.remove_prefix(1);
  }
  bool Ok() const { return ok_; }

 private:
  std::string_view text_;
  bool ok_ = true;
};

std::optional<StagedBatch> Parsed(std::string_view text) {
  Reader in(text);
  StagedBatch batch;
  const bool withChanges = text.starts_with(kHeader);
  in.Literal(withChanges ? kHeader : kHeaderWithoutChanges);
  const long stage = in.Number();
  batch.logFile = in.Text();
  batch.logSize = in.Number();
  batch.lineCount = in.Number();
  batch.lines = in.Text();
  const long probes = in.Number();
  for (long p = 0; in.Ok() && p < probes; ++p) {
    RecordProbe probe;
    const long keys = in.Number();
    for (long k = 0; in.Ok() && k < keys; ++k) {
      const int number = static_cast<int>(in.Number());
      probe.key.emplace_back(number, in.Text());
    }
    probe.detailField = static_cast<int>(in.Number());
    probe.detailValue = in.Text();
    probe.existedBefore = in.Number() != 0;
    probe.existsAfter = in.Number() != 0;
    const long fields = in.Number();
    for (long f = 0; in.Ok() && f < fields; ++f) {
      RecordProbe::FieldState field;
      field.number = static_cast<int>(in.Number());
      field.before = in.Text();
      field.after = in.Text();
      probe.fields.push_back(std::move(field));
    }
    batch.probes.push_back(std::move(probe));
  }
  if (withChanges) {
    batch.changeFile = in.Text();
    batch.changeSize = in.Number();
    batch.changeRows = in.Text();
  }
  in.SkipSpace();
  in.Literal(kEnd);
  // What follows the end is left over from a longer stage before.
  if (!in.Ok() || in.Number() != stage || !in.Literal("\n")) return std::nullopt;
  return batch;
}

/// Stage numbers stay well inside what a long holds.
constexpr std::uint64_t kStages = 1000000000;

}  // namespace

PendingLogFile::PendingLogFile(const std::filesystem::path& folder, const std::string& logName)
    : path_(folder / ("." + logName + ".pending")), stage_(std::random_device()()) {}

bool PendingLogFile::Stage(const StagedBatch& batch) {
  // A plain file of the log folder's own, never through a link or into a pipe.
  if (!file_.Valid()) {
    file_ = platform::FileDescriptor::OpenPlainFile(path_, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  if (!file_.Valid()) return false;
  return platform::WriteAllAt(file_.Get(), Serialized(batch, ++stage_ % kStages), 0);
}

std::optional<StagedBatch> PendingLogFile::Staged() const {
  const platform::FileDescriptor file = platform::FileDescriptor::OpenPlainFile(path_, O_RDONLY);
  if (!file.Valid()) return std::nullopt;
  const std::optional<std::string> text = platform::ReadToEnd(file.Get());
  if (!text) return std::nullopt;
  return Parsed(*text);
}

void PendingLogFile::Clear() {
  file_.Close();
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

}  // namespace host
