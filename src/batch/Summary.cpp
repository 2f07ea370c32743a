#include "batch/Summary.h"

#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace batch {
namespace {

constexpr size_t kColumns = 7;
using Row = std::array<std::string, kColumns>;

Row CountsRow(const std::string& job, const std::string& company, const std::string& kind,
              const convert::KindCounts& n) {
  return {job,
          company,
          kind,
          std::to_string(n.records),
          std::to_string(n.updated),
          std::to_string(n.skipped),
          std::to_string(n.failed)};
}

std::string KindName(const KindResult& kind) {
  if (kind.outcome.endedByError) return kind.kind + " (error)";
  if (kind.outcome.cancelled) return kind.kind + " (canceled)";
  return kind.kind;
}

/// Names and companies left-aligned, counts right-aligned, two blanks between columns.
void PrintTable(std::ostream& out, const std::vector<Row>& rows) {
  std::array<size_t, kColumns> widths{};
  for (const Row& row : rows) {
    for (size_t c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  for (const Row& row : rows) {
    std::string line;
    for (size_t c = 0; c < kColumns; ++c) {
      const std::string pad(widths[c] - row[c].size(), ' ');
      if (c > 0) line += "  ";
      line += c < 3 ? row[c] + pad : pad + row[c];
    }
    out << platform::TrimRight(line) << '\n';
  }
}

}  // namespace

ExitStatus StatusOfJobs(const std::vector<JobResult>& jobs) {
  ExitStatus status = kComplete;
  for (const JobResult& job : jobs) {
    if (job.status) status = Worst(status, *job.status);
  }
  return status;
}

void PrintSummary(std::ostream& out, const std::vector<JobResult>& jobs) {
  const bool preview =
      std::any_of(jobs.begin(), jobs.end(), [](const JobResult& job) { return job.preview; });
  std::vector<Row> rows = {{"Job", "Company", "Kind", "To convert",
                            preview ? "Would convert" : "Converted",
                            preview ? "Would skip" : "Skipped", preview ? "Would fail" : "Failed"}};
  convert::KindCounts total;
  for (const JobResult& job : jobs) {
    const std::string file = std::filesystem::path(job.job).filename().string();
    for (const KindResult& kind : job.kinds) {
      rows.push_back(CountsRow(file, job.company, KindName(kind), kind.outcome.counts));
      total.records += kind.outcome.counts.records;
      total.updated += kind.outcome.counts.updated;
      total.skipped += kind.outcome.counts.skipped;
      total.failed += kind.outcome.counts.failed;
    }
  }
  rows.push_back(CountsRow("Total", "", "", total));
  out << "\nSummary\n";
  PrintTable(out, rows);
  for (const JobResult& job : jobs) {
    out << job.job << " on " << job.company << ": "
        << (job.status ? StatusWord(*job.status) + " (" + std::to_string(*job.status) + ")"
                       : std::string("not run"))
        << '\n';
  }
}

}  // namespace batch
