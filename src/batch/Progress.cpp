#include "batch/Progress.h"

namespace batch {
namespace {

// A terminal line is redrawn at most this often, so that a fast kind is not slowed by its
// display.
constexpr std::chrono::milliseconds kRedrawInterval{100};
// Carriage return, then erase to the end of the line.
constexpr const char* kRewriteLine = "\r\x1b[K";

}  // namespace

ProgressDisplay::ProgressDisplay(std::ostream& out, bool terminal, Clock clock)
    : out_(out), terminal_(terminal), clock_(std::move(clock)) {}

void ProgressDisplay::KindStarted(const std::string& kind) {
  RunEnded();
  kind_ = kind;
  active_ = true;
  done_ = 0;
  total_ = -1;
  started_ = clock_();
  if (terminal_) {
    Redraw(started_);
  } else {
    out_ << kind_ << ": started" << std::endl;
  }
}

void ProgressDisplay::Progress(std::int64_t done, std::int64_t total) {
  if (!active_) return;
  const auto now = clock_();
  if (total != total_) counted_ = now;
  done_ = done;
  total_ = total;
  if (terminal_) Redraw(now);
}

void ProgressDisplay::KindEnded(const convert::KindOutcome& outcome) {
  if (!active_) return;
  Finish(EndLine(outcome));
}

void ProgressDisplay::RunEnded() {
  if (active_) Finish(kind_ + ": ended before its records were converted; its log tells why");
}

std::string ProgressDisplay::ProgressLine() const {
  return convert::ProgressLine(kind_, done_, total_, Seconds(counted_));
}

std::string ProgressDisplay::EndLine(const convert::KindOutcome& outcome) const {
  const convert::KindCounts& n = outcome.counts;
  std::string line = kind_ + ": " + std::to_string(n.records) + " to convert, " +
                     std::to_string(n.updated) + (preview_ ? " would convert, " : " converted, ") +
                     std::to_string(n.skipped) + (preview_ ? " would skip, " : " skipped, ") +
                     std::to_string(n.failed) + (preview_ ? " would fail in " : " failed in ") +
                     FormatDuration(Seconds(started_));
  if (outcome.endedByError) line += "; an error ended it, its log tells why";
  if (outcome.cancelled) line += "; canceled";
  return line;
}

void ProgressDisplay::Redraw(std::chrono::steady_clock::time_point now) {
  // A state skipped here is drawn by the next record's call; the end line is never skipped.
  if (drawn_ && now - *drawn_ < kRedrawInterval) return;
  out_ << kRewriteLine << ProgressLine() << std::flush;
  drawn_ = now;
}

void ProgressDisplay::Finish(const std::string& line) {
  if (terminal_) out_ << kRewriteLine;
  out_ << line << std::endl;
  active_ = false;
}

double ProgressDisplay::Seconds(std::chrono::steady_clock::time_point from) const {
  return std::chrono::duration<double>(clock_() - from).count();
}

}  // namespace batch
