#include "host/PendingLogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <charconv>
#include <random>

namespace host {
namespace {

constexpr const char* kHeader = "Ordavel pending log 3\n";
/// A file an earlier version staged: the same without change rows.
constexpr const char* kHeaderWithoutChanges = "Ordavel pending log 2\n";
constexpr const char* kEnd = "end ";

/// Texts go out as their length, a colon and their bytes, so that any byte may be in them.
void putText(std::string& out, const std::string& text) {
  out += std::to_string(text.size());
  out += ':';
  out += text;
  out += ' ';
}

void putNumber(std::string& out, long number) {
  out += std::to_string(number);
  out += ' ';
}

/// A stage starts and ends with its number, so that a stage cut short over a longer one before it
/// never reads as complete.
std::string serialized(const StagedBatch& batch, std::uint64_t stage) {
  std::string out = kHeader;
  putNumber(out, static_cast<long>(stage));
  putText(out, batch.logFile);
  putNumber(out, static_cast<long>(batch.logSize));
  putNumber(out, batch.lineCount);
  putText(out, batch.lines);
  putNumber(out, static_cast<long>(batch.probes.size()));
  for (const RecordProbe& probe : batch.probes) {
    putNumber(out, static_cast<long>(probe.key.size()));
    for (const auto& [number, text] : probe.key) {
      putNumber(out, number);
      putText(out, text);
    }
    putNumber(out, probe.detailField);
    putText(out, probe.detailValue);
    putNumber(out, probe.existedBefore ? 1 : 0);
    putNumber(out, probe.existsAfter ? 1 : 0);
    putNumber(out, static_cast<long>(probe.fields.size()));
    for (const RecordProbe::FieldState& field : probe.fields) {
      putNumber(out, field.number);
      putText(out, field.before);
      putText(out, field.after);
    }
    out += '\n';
  }
  putText(out, batch.changeFile);
  putNumber(out, static_cast<long>(batch.changeSize));
  putText(out, batch.changeRows);
  return out + kEnd + std::to_string(stage) + "\n";
}

/// Reads what `serialized` wrote; any deviation makes the whole file unreadable.
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

std::optional<StagedBatch> parsed(std::string_view text) {
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

bool writeAt(int fd, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd, bytes.data() + written, bytes.size() - written, static_cast<off_t>(written));
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

/// Opens a plain file of the log folder's own, never through a link or into a pipe.
int openPlainFile(const std::filesystem::path& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

PendingLogFile::PendingLogFile(const std::filesystem::path& folder, const std::string& logName)
    : path_(folder / ("." + logName + ".pending")), stage_(std::random_device()()) {}

PendingLogFile::~PendingLogFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool PendingLogFile::Stage(const StagedBatch& batch) {
  if (fd_ < 0) fd_ = openPlainFile(path_, O_WRONLY | O_CREAT | O_TRUNC);
  if (fd_ < 0) return false;
  return writeAt(fd_, serialized(batch, ++stage_ % kStages));
}

std::optional<StagedBatch> PendingLogFile::Staged() const {
  const int fd = openPlainFile(path_, O_RDONLY);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[65536];
  ssize_t n = 0;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  ::close(fd);
  if (n < 0) return std::nullopt;
  return parsed(text);
}

void PendingLogFile::Clear() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

}  // namespace host
